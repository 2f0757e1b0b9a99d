# Run by `cmake --install`: writes the desktop entry, which names the installed program by its
# full path (known only now, from the prefix), and installs it. PELLUCARD_DESKTOP_TEMPLATE and
# PELLUCARD_DESKTOP_SCRATCH (a folder of the build) are set by the caller.
set(_exec "${CMAKE_INSTALL_PREFIX}/bin/pellucard")
if(_exec MATCHES "[\n\r]")
  message(FATAL_ERROR "a desktop entry cannot name a program whose path holds a line break: ${_exec}")
endif()
# The quoting rules of the Exec key: a field code is %, and an argument with a reserved
# character goes in double quotes, where " ` $ and \ take a backslash.
string(REPLACE "%" "%%" _exec "${_exec}")
if(_exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
  string(REPLACE "\\" "\\\\" _exec "${_exec}")
  string(REPLACE "\"" "\\\"" _exec "${_exec}")
  string(REPLACE "`" "\\`" _exec "${_exec}")
  string(REPLACE "$" "\\$" _exec "${_exec}")
  set(_exec "\"${_exec}\"")
endif()
# A value of the entry escapes its backslashes once more.
string(REPLACE "\\" "\\\\" PELLUCARD_EXEC "${_exec}")
# One scratch file per prefix, so that installs into different places never share one.
string(MD5 _key "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_entry "${PELLUCARD_DESKTOP_SCRATCH}/pellucard-${_key}.desktop")
configure_file("${PELLUCARD_DESKTOP_TEMPLATE}" "${_entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE RENAME pellucard.desktop
     FILES "${_entry}")
