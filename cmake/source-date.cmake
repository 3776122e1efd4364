# The one time that every dated output takes (the man page's date, the file
# times in the archives, the Windows executable's time stamp): the date a
# parent build hands down, else SOURCE_DATE_EPOCH when it is set, else the
# time of the last commit, so that anyone who builds
# the same commit gets the same bytes. Sets BIGSUM_SOURCE_DATE_EPOCH (seconds)
# and BIGSUM_SOURCE_DATE (YYYY-MM-DD, UTC).
if(DEFINED BIGSUM_SOURCE_DATE_EPOCH)
  # handed down by a parent build
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(BIGSUM_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
      OUTPUT_VARIABLE BIGSUM_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
  endif()
  if(NOT BIGSUM_SOURCE_DATE_EPOCH)
    string(TIMESTAMP BIGSUM_SOURCE_DATE_EPOCH "%s" UTC)
    message(WARNING "No commit to take the date from and SOURCE_DATE_EPOCH is not set: "
                    "this build is dated now and will not be reproducible.")
  endif()
endif()
if(NOT BIGSUM_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds, not '${BIGSUM_SOURCE_DATE_EPOCH}'")
endif()

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when that is set.
set(ENV{SOURCE_DATE_EPOCH} "${BIGSUM_SOURCE_DATE_EPOCH}")
string(TIMESTAMP BIGSUM_SOURCE_DATE "%Y-%m-%d" UTC)
