# ctest checks of the --version text (cmake -P):
#   -DPROGRAM=t27ctl -DSOURCE_DIR=...   the program names the checkout's revision
#     (its abbreviation by `git rev-parse --short HEAD`, perhaps longer)
#   -DARCHIVE_OF=SOURCE_DIR -DWORK=DIR  a tree without .git, as a source archive
#     unpacks, says that it has no revision
if(PROGRAM)
  find_package(Git REQUIRED)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short HEAD
                  OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${PROGRAM}" --version OUTPUT_VARIABLE text ERROR_VARIABLE text
                  COMMAND_ERROR_IS_FATAL ANY)
  if(NOT text MATCHES "\\(git ${head}[0-9a-f]*(-dirty)?\\)")
    message(FATAL_ERROR "${PROGRAM} --version says '${text}', not the revision ${head}")
  endif()
  message(STATUS "--version names ${head}: ${text}")
else()
  file(REMOVE_RECURSE "${WORK}")
  file(MAKE_DIRECTORY "${WORK}/common")
  file(COPY "${ARCHIVE_OF}/common/version_info.cpp.in" DESTINATION "${WORK}/common")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${WORK} -DVERSION=9.9
                          -DOUTPUT=${WORK}/version_info.cpp
                          -P "${ARCHIVE_OF}/cmake/version_info.cmake"
                  COMMAND_ERROR_IS_FATAL ANY)
  file(READ "${WORK}/version_info.cpp" text)
  file(REMOVE_RECURSE "${WORK}")
  if(NOT text MATCHES "\"9\\.9 \\(built from a source archive: no git revision\\)\"")
    message(FATAL_ERROR "a tree without .git gives: ${text}")
  endif()
  message(STATUS "without .git: no revision, said so")
endif()
