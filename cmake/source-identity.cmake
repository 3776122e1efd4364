# What this source is, so that anyone who builds the same commit gets the
# same names and bytes. Sets
#   BIGSUM_COMMIT             the full commit id ("" when unknown)
#   BIGSUM_IDENTITY           the name every output carries (see below)
#   BIGSUM_SOURCE_DATE_EPOCH  the one time that every dated output takes
#   BIGSUM_SOURCE_DATE        the same, as YYYY-MM-DD (UTC)
#   BIGSUM_GIT_CHECKOUT       the source tree is the top of a git work tree
#
# A release is a commit with the annotated tag vX.Y.Z, where X.Y.Z is the
# project() version, built with no uncommitted changes: its identity is
# X.Y.Z. Every other build is a development build, named after the release it
# follows and its commit as git describe gives them (1.0.1-3-g60b8a8d), with
# -dirty for uncommitted changes to tracked files; with no tag to follow it
# is VERSION-gCOMMIT, and VERSION-unknown when not even the commit is known.
# So a missing tag or a missing git names a release as a development build,
# never the other way round.
#
# Read from, in order: a parent build that hands them down, what git archive
# wrote into this file, git. The date is SOURCE_DATE_EPOCH when that is set,
# otherwise the commit time. A build in a git checkout configures again when
# HEAD, a tag or a tracked file changes, so its identity is always HEAD's.
include_guard(GLOBAL)

# git archive fills these in (export-subst in .gitattributes).
set(archived_commit "$Format:%H$")
set(archived_describe "$Format:%(describe:match=v[0-9]*,abbrev=7)$")
set(archived_epoch "$Format:%ct$")

# bigsum_read_git(SOURCE GIT) sets commit, describe, epoch and changes (the
# tracked files with uncommitted changes) in the caller from the checkout.
function(bigsum_read_git source git)
  foreach(query "commit;rev-parse;HEAD" "describe;describe;--match=v[0-9]*;--abbrev=7"
                "epoch;log;-1;--format=%ct" "changes;status;--porcelain;--untracked-files=no")
    list(POP_FRONT query var)
    execute_process(COMMAND "${git}" ${query} WORKING_DIRECTORY "${source}"
      OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    set(${var} "${out}" PARENT_SCOPE)
  endforeach()
endfunction()

# bigsum_identity(OUT VERSION COMMIT DESCRIBE CHANGES) sets OUT to the
# identity described above.
function(bigsum_identity out version commit describe changes)
  string(SUBSTRING "${commit}" 0 7 short)
  if(describe STREQUAL "v${version}" AND changes STREQUAL "")
    set(id "${version}")
  elseif(describe MATCHES "^v([0-9]+\\.[0-9]+\\.[0-9]+)$")
    set(id "${CMAKE_MATCH_1}-0-g${short}")  # another version's tag
  elseif(describe MATCHES "^v([0-9]+\\.[0-9]+\\.[0-9]+-[0-9]+-g[0-9a-f]+)$")
    set(id "${CMAKE_MATCH_1}")
  elseif(short)
    set(id "${version}-g${short}")
  else()
    set(id "${version}-unknown")
  endif()
  if(NOT changes STREQUAL "")
    string(APPEND id "-dirty")
  endif()
  set(${out} "${id}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  return()  # make-packages.cmake wants only the functions
endif()

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

set(commit "")
set(describe "")
set(epoch "")
set(changes "")
if(DEFINED BIGSUM_IDENTITY)
  # handed down by the parent build
elseif(archived_commit MATCHES "^[0-9a-f]+$")
  set(commit "${archived_commit}")
  set(describe "${archived_describe}")
  set(epoch "${archived_epoch}")
elseif(BIGSUM_GIT_CHECKOUT)
  bigsum_read_git("${PROJECT_SOURCE_DIR}" "${GIT_EXECUTABLE}")
  if(changes)
    message(WARNING "The work tree has uncommitted changes; this is a -dirty build:\n${changes}")
  endif()
  # Configure again when HEAD moves, a tag comes or goes, or a tracked file
  # changes (and so the build's -dirty).
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --symbolic-full-name HEAD
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE branch
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --path-format=absolute
      --git-path HEAD --git-path packed-refs --git-path refs/tags --git-path "${branch}"
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE git_files ERROR_QUIET)
  execute_process(COMMAND "${GIT_EXECUTABLE}" ls-files
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE tracked ERROR_QUIET)
  string(REPLACE "\n" ";" tracked "${tracked}")
  list(TRANSFORM tracked PREPEND "${PROJECT_SOURCE_DIR}/")
  string(REPLACE "\n" ";" git_files "${git_files}")
  foreach(f IN LISTS git_files tracked)
    if(EXISTS "${f}")
      set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${f}")
    endif()
  endforeach()
endif()
if(NOT DEFINED BIGSUM_IDENTITY)
  set(BIGSUM_COMMIT "${commit}")
  bigsum_identity(BIGSUM_IDENTITY "${PROJECT_VERSION}" "${commit}" "${describe}" "${changes}")
endif()

if(DEFINED BIGSUM_SOURCE_DATE_EPOCH)
  # handed down
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(BIGSUM_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(BIGSUM_SOURCE_DATE_EPOCH "${epoch}")
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
message(STATUS "bigsum ${BIGSUM_IDENTITY}, dated ${BIGSUM_SOURCE_DATE}")
