# Run by `cmake --install`, first with PELLUCARD_INSTALL_STEP "begin" (before anything is copied:
# which folders are missing and so made by this install, what an earlier install left listed),
# then with "end" (writes the manifest). Paths in the manifest are relative to the prefix, so
# the same list serves under a DESTDIR.
set(_pellucard_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_pellucard_manifest_name "share/pellucard/install-manifest.txt")
set(_pellucard_manifest "${_pellucard_root}/${_pellucard_manifest_name}")

if(PELLUCARD_INSTALL_STEP STREQUAL "begin")
  # An install over an earlier one keeps its entries: the folders it made are still ours.
  set(PELLUCARD_INSTALL_EARLIER "")
  if(EXISTS "${_pellucard_manifest}")
    file(STRINGS "${_pellucard_manifest}" PELLUCARD_INSTALL_EARLIER REGEX "^[^#]")
  endif()
  set(PELLUCARD_INSTALL_MADE "")
  foreach(_folder IN LISTS PELLUCARD_INSTALL_FOLDERS)
    if(NOT IS_DIRECTORY "${_pellucard_root}/${_folder}")
      list(APPEND PELLUCARD_INSTALL_MADE "${_folder}/")
    endif()
  endforeach()
  return()
endif()

set(_entries "")
foreach(_entry IN LISTS PELLUCARD_INSTALL_EARLIER)
  # What an earlier install listed and is gone since needs no removing.
  if(EXISTS "${_pellucard_root}/${_entry}")
    list(APPEND _entries "${_entry}")
  endif()
endforeach()
list(APPEND _entries ${PELLUCARD_INSTALL_MADE})
foreach(_file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  foreach(_base IN ITEMS "${_pellucard_root}" "${CMAKE_INSTALL_PREFIX}")
    string(LENGTH "${_base}/" _length)
    string(SUBSTRING "${_file}" 0 ${_length} _start)
    if(_start STREQUAL "${_base}/")
      string(SUBSTRING "${_file}" ${_length} -1 _relative)
      list(APPEND _entries "${_relative}")
      break()
    endif()
  endforeach()
endforeach()
list(APPEND _entries "${_pellucard_manifest_name}")
list(REMOVE_DUPLICATES _entries)
list(SORT _entries)
list(JOIN _entries "\n" _lines)
message(STATUS "Installing: ${_pellucard_manifest}")
file(WRITE "${_pellucard_manifest}"
     "# What Pellucard's install put under ${CMAKE_INSTALL_PREFIX}, for scripts/uninstall: files, and\n"
     "# the folders it made (ending with /), relative to that folder.\n${_lines}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_pellucard_manifest}")
