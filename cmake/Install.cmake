# What `cmake --install` puts where, relative to the prefix, and the manifest of it that
# scripts/uninstall reads (share/pellucard/install-manifest.txt: one path a line, folders the
# install made end with "/").
#
# Every install rule goes through pellucard_install() (or names its folder with
# pellucard_install_folder()), so that the install can tell beforehand which folders it makes.

define_property(GLOBAL PROPERTY PELLUCARD_INSTALL_FOLDERS BRIEF_DOCS "folders the install puts files in"
                FULL_DOCS "relative to the prefix")

# pellucard_install_folder(<folder relative to the prefix>...)
function(pellucard_install_folder)
  foreach(folder IN LISTS ARGN)
    # Its parents may be made too.
    while(NOT folder STREQUAL "" AND NOT folder STREQUAL ".")
      set_property(GLOBAL APPEND PROPERTY PELLUCARD_INSTALL_FOLDERS "${folder}")
      get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
  endforeach()
endfunction()

# pellucard_install(<TARGETS|PROGRAMS|FILES> items... DESTINATION folder [RENAME name])
# pellucard_install(DIRECTORY folder DESTINATION folder): the folder's content, subfolders too.
function(pellucard_install)
  cmake_parse_arguments(ARG "" "DESTINATION;RENAME;DIRECTORY" "TARGETS;PROGRAMS;FILES" ${ARGN})
  if(NOT ARG_DESTINATION OR IS_ABSOLUTE "${ARG_DESTINATION}")
    message(FATAL_ERROR "pellucard_install needs a DESTINATION relative to the prefix")
  endif()
  set(rename "")
  if(ARG_RENAME)
    set(rename RENAME "${ARG_RENAME}")
  endif()
  if(ARG_TARGETS)
    install(TARGETS ${ARG_TARGETS} RUNTIME DESTINATION "${ARG_DESTINATION}")
  endif()
  if(ARG_PROGRAMS)
    install(PROGRAMS ${ARG_PROGRAMS} DESTINATION "${ARG_DESTINATION}" ${rename})
  endif()
  if(ARG_FILES)
    install(FILES ${ARG_FILES} DESTINATION "${ARG_DESTINATION}" ${rename})
  endif()
  pellucard_install_folder("${ARG_DESTINATION}")
  if(ARG_DIRECTORY)
    install(DIRECTORY "${ARG_DIRECTORY}/" DESTINATION "${ARG_DESTINATION}")
    file(GLOB_RECURSE inside LIST_DIRECTORIES true RELATIVE "${ARG_DIRECTORY}" CONFIGURE_DEPENDS "${ARG_DIRECTORY}/*")
    foreach(entry IN LISTS inside)
      if(IS_DIRECTORY "${ARG_DIRECTORY}/${entry}")
        pellucard_install_folder("${ARG_DESTINATION}/${entry}")
      endif()
    endforeach()
  endif()
endfunction()

# The first install rule: notes which folders do not exist yet. Call before any other.
function(pellucard_install_begin)
  install(CODE "set(PELLUCARD_INSTALL_STEP begin)
include(\"${CMAKE_BINARY_DIR}/PellucardInstallFolders.cmake\")
include(\"${CMAKE_SOURCE_DIR}/cmake/InstallManifest.cmake\")")
endfunction()

# The last install rule: writes the manifest. Call after every other.
function(pellucard_install_end)
  pellucard_install_folder(share/pellucard)
  get_property(folders GLOBAL PROPERTY PELLUCARD_INSTALL_FOLDERS)
  list(REMOVE_DUPLICATES folders)
  list(SORT folders)
  file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/PellucardInstallFolders.cmake"
       CONTENT "set(PELLUCARD_INSTALL_FOLDERS \"@folders@\")\n" @ONLY)
  install(CODE "set(PELLUCARD_INSTALL_STEP end)
include(\"${CMAKE_SOURCE_DIR}/cmake/InstallManifest.cmake\")")
endfunction()
