# The one time that every dated output takes (the man page's date, the file
# times in the archives, the Windows executable's time stamp), so that anyone
# who builds the same commit gets the same bytes. In order: the date a parent
# build hands down, SOURCE_DATE_EPOCH, the commit time that git archive wrote
# into this file, the time of this git checkout's last commit.
# Sets BIGSUM_SOURCE_DATE_EPOCH (seconds), BIGSUM_SOURCE_DATE (YYYY-MM-DD, UTC)
# and BIGSUM_GIT_CHECKOUT (the source tree is the top of a git work tree).

# git archive puts the commit time here (export-subst in .gitattributes).
set(archived_epoch "$Format:%ct$")

set(BIGSUM_GIT_CHECKOUT OFF)
find_package(Git QUIET)
if(Git_FOUND)
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" rev-parse --show-toplevel
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    OUTPUT_VARIABLE top
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  file(REAL_PATH "${PROJECT_SOURCE_DIR}" source_dir)
  if(top)
    file(REAL_PATH "${top}" top)
  endif()
  if(top STREQUAL source_dir)
    set(BIGSUM_GIT_CHECKOUT ON)
  endif()
endif()

if(DEFINED BIGSUM_SOURCE_DATE_EPOCH)
  # handed down
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(BIGSUM_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
elseif(archived_epoch MATCHES "^[0-9]+$")
  set(BIGSUM_SOURCE_DATE_EPOCH "${archived_epoch}")
elseif(BIGSUM_GIT_CHECKOUT)
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    OUTPUT_VARIABLE BIGSUM_SOURCE_DATE_EPOCH
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
endif()
if(BIGSUM_SOURCE_DATE_EPOCH STREQUAL "")
  string(TIMESTAMP BIGSUM_SOURCE_DATE_EPOCH "%s" UTC)
  message(WARNING "Neither SOURCE_DATE_EPOCH, a source archive's time nor a commit to take "
                  "the date from: this build is dated now and will not be reproducible.")
endif()
if(NOT BIGSUM_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds, not '${BIGSUM_SOURCE_DATE_EPOCH}'")
endif()

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when that is set.
set(ENV{SOURCE_DATE_EPOCH} "${BIGSUM_SOURCE_DATE_EPOCH}")
string(TIMESTAMP BIGSUM_SOURCE_DATE "%Y-%m-%d" UTC)
