# Run at every build (cmake -P): writes the version text the programs print
# for --version, with the git revision when the tree is a checkout. The file
# is rewritten only when the text changes, so an unchanged tree rebuilds
# nothing.
set(revision "")
set(no_revision "built from a source archive: no git revision")
find_package(Git QUIET)
if(EXISTS "${SOURCE_DIR}/.git")
  set(no_revision "git revision unknown")
endif()
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --always --dirty --abbrev=10
            --match "v[0-9]*"
    OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
    RESULT_VARIABLE git_result)
  if(NOT git_result EQUAL 0)
    set(revision "")
  endif()
endif()
if(revision)
  set(T27_VERSION_TEXT "${VERSION} (git ${revision})")
else()
  set(T27_VERSION_TEXT "${VERSION} (${no_revision})")
endif()
configure_file("${SOURCE_DIR}/common/version_info.cpp.in" "${OUTPUT}" @ONLY)
