# Writes the header that says which version and commit the programs were built from.
# Runs at every build (cmake -P); the header is rewritten only when its text changed, so an
# unchanged commit rebuilds nothing.
#
# In: SOURCE_DIR, OUTPUT, VERSION, and COMMIT when a packager names it (empty: ask git).
# Without git, or in a source tree that is not itself a repository (an unpacked tarball,
# even inside another repository), the commit is "unknown".

if(NOT COMMIT)
  set(COMMIT "unknown")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
      OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE _rc ERROR_QUIET)
    if(_rc EQUAL 0)
      file(REAL_PATH "${_top}" _top)
      file(REAL_PATH "${SOURCE_DIR}" _src)
    endif()
    if(_rc EQUAL 0 AND _top STREQUAL _src)
      execute_process(
        COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
        OUTPUT_VARIABLE _head OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _rc ERROR_QUIET)
      if(_rc EQUAL 0 AND _head)
        set(COMMIT "${_head}")
        # Changes not committed yet: the build is not that commit.
        execute_process(
          COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
          OUTPUT_VARIABLE _changes OUTPUT_STRIP_TRAILING_WHITESPACE
          RESULT_VARIABLE _rc ERROR_QUIET)
        if(_rc EQUAL 0 AND _changes)
          string(APPEND COMMIT "-dirty")
        endif()
      endif()
    endif()
  endif()
endif()

set(_text "// Generated at build time by cmake/VantorBuildInfo.cmake; do not edit.
#pragma once
#define VANTOR_VERSION_TEXT \"${VERSION}\"
#define VANTOR_COMMIT_TEXT \"${COMMIT}\"
")
set(_old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" _old)
endif()
if(NOT _old STREQUAL _text)
  file(WRITE "${OUTPUT}" "${_text}")
endif()
