# Writes a C++ source that holds the help file as a byte array.
#   cmake -DINPUT=<file.htm> -DOUTPUT=<file.cpp> -P EmbedHelp.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
set(content "// Generated from resources/help by resources/EmbedHelp.cmake; do not edit.\n#include \"resources/HelpFile.h\"\n\nnamespace pellucard {\n\nnamespace {\n\nconst unsigned char kHelp[${size}] = {\n    ${bytes}\n};\n\n}  // namespace\n\nstd::string_view helpFileText() { return std::string_view(reinterpret_cast<const char*>(kHelp), sizeof(kHelp)); }\n\n}  // namespace pellucard\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${content}")
