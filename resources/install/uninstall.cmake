# [DESTDIR=...] cmake -DMANIFEST=<build>/install_manifest.txt [-DDIRS=<list>] -P uninstall.cmake
# Removes every file a make install listed, then the folders that install created (DIRS) once
# they are empty, and nothing else: a folder that holds anything else stays. The lists hold
# paths without DESTDIR, so a staged install is removed with the DESTDIR it was made with.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (make install writes it).")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(listed IN LISTS installed)
  set(path "$ENV{DESTDIR}${listed}")
  if(IS_SYMLINK "${path}" OR EXISTS "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
    if(IS_SYMLINK "${path}" OR EXISTS "${path}")
      message(FATAL_ERROR "Cannot remove ${path}")
    endif()
  else()
    message(STATUS "Already gone: ${path}")
  endif()
endforeach()

if(DIRS AND EXISTS "${DIRS}")
  file(STRINGS "${DIRS}" created)
  # A folder sorts before everything inside it: descending order empties children first.
  list(SORT created ORDER DESCENDING)
  foreach(listed IN LISTS created)
    set(path "$ENV{DESTDIR}${listed}")
    if(IS_DIRECTORY "${path}")
      # rmdir removes a folder only when it is empty.
      execute_process(COMMAND rmdir "${path}" RESULT_VARIABLE kept OUTPUT_QUIET ERROR_QUIET)
      if(kept EQUAL 0)
        message(STATUS "Removing folder ${path}")
      endif()
    endif()
  endforeach()
endif()
