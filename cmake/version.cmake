# QP40_VERSION_TEXT: the project version, followed by the git commit it was built from when the
# source folder is a git checkout of its own, e.g. "0.1.0 (git 1f72371)". The commit is looked up
# when CMake configures; without git or without a .git, the text is the version alone.
set(QP40_VERSION_TEXT "${PROJECT_VERSION}")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --show-toplevel --short HEAD
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    RESULT_VARIABLE qp40_git_result
    OUTPUT_VARIABLE qp40_git_output
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  if(qp40_git_result EQUAL 0)
    string(REPLACE "\n" ";" qp40_git_output "${qp40_git_output}")
    list(GET qp40_git_output 0 qp40_git_top)
    list(GET qp40_git_output 1 qp40_git_commit)
    # A source tree unpacked inside some other repository is not that repository's commit.
    file(REAL_PATH "${qp40_git_top}" qp40_git_top)
    file(REAL_PATH "${PROJECT_SOURCE_DIR}" qp40_source_dir)
    if(qp40_git_top STREQUAL qp40_source_dir)
      string(APPEND QP40_VERSION_TEXT " (git ${qp40_git_commit})")
    endif()
  endif()
endif()
message(STATUS "qp40 version: ${QP40_VERSION_TEXT}")
