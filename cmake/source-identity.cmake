# What this source is, so that anyone who builds the same commit gets the
# same names and bytes. Sets
#   BIGSUM_COMMIT             the full commit id ("" when unknown)
#   BIGSUM_IDENTITY           the name every output carries
#   BIGSUM_SOURCE_DATE_EPOCH  the one time that every dated output takes
#   BIGSUM_SOURCE_DATE        the same, as YYYY-MM-DD (UTC)
#   BIGSUM_GIT_CHECKOUT       the source tree is the top of a git work tree
#
# The names follow the rule in doc/RELEASING.md, read from the tracked file
# VERSION and the commit graph; no tag is read. They come from, in order: a
# parent build that hands them down, git, the identity that the package step
# wrote into its source archive, what git archive wrote into this file. The
# date is SOURCE_DATE_EPOCH when that is set, otherwise the commit time.
#
# In script mode, -DSOURCE=DIR prints DIR's identity, and with
# -DARCHIVE=FILE.tar.gz also writes DIR's source archive there.
include_guard(GLOBAL)

# git archive fills these in (export-subst in .gitattributes).
set(archived_commit "$Format:%H$")
set(archived_epoch "$Format:%ct$")

# bigsum_version(OUT_VERSION OUT_AFTER SOURCE) reads SOURCE/VERSION,
# "X.Y.Z AFTER", AFTER being the commit that release X.Y.Z follows.
function(bigsum_version out_version out_after source)
  file(READ "${source}/VERSION" line)
  if(NOT line MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+) ([0-9a-f]+)\n$")
    message(FATAL_ERROR "${source}/VERSION must be one line 'X.Y.Z COMMIT', not '${line}'")
  endif()
  set(${out_version} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set(${out_after} "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()

# bigsum_git(OUT DIR ARGS...) sets OUT to what git ARGS prints in DIR, "" on
# failure.
function(bigsum_git out dir)
  execute_process(COMMAND "${GIT_EXECUTABLE}" ${ARGN} WORKING_DIRECTORY "${dir}"
    OUTPUT_VARIABLE o OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    set(o "")
  endif()
  set(${out} "${o}" PARENT_SCOPE)
endfunction()

# bigsum_read_git(SOURCE) sets commit, id, epoch and changes (the
# tracked files with uncommitted changes) in the caller from the checkout.
function(bigsum_read_git source)
  bigsum_version(version after "${source}")
  bigsum_git(commit "${source}" rev-parse --verify -q HEAD)
  bigsum_git(parent "${source}" rev-parse --verify -q HEAD^)
  bigsum_git(shallow "${source}" rev-parse --is-shallow-repository)
  bigsum_git(count "${source}" rev-list --count "${after}..HEAD")
  bigsum_git(epoch "${source}" log -1 --format=%ct)
  bigsum_git(changes "${source}" status --porcelain --untracked-files=no)
  # The version that AFTER had: its VERSION's, or before that file project()'s.
  bigsum_git(before "${source}" show "${after}:VERSION")
  if(NOT before)
    bigsum_git(before "${source}" show "${after}:CMakeLists.txt")
    string(REGEX MATCH "project\\([^)]* VERSION ([0-9.]+)" before "${before}")
    set(before "${CMAKE_MATCH_1}")
  endif()
  string(REGEX MATCH "^[0-9.]+" before "${before}")
  string(SUBSTRING "${commit}" 0 7 short)
  if(NOT commit)
    set(id "${version}-unknown")
  elseif(shallow STREQUAL "false" AND parent STREQUAL after AND version VERSION_GREATER before)
    set(id "${version}")
  elseif(shallow STREQUAL "false" AND count GREATER 1)
    math(EXPR n "${count} - 1")
    set(id "${version}-${n}-g${short}")
  else()
    set(id "${version}-g${short}")
  endif()
  if(changes)
    string(APPEND id "-dirty")
  endif()
  foreach(var commit id epoch changes)
    set(${var} "${${var}}" PARENT_SCOPE)
  endforeach()
endfunction()

# bigsum_source_archive(FILE SOURCE IDENTITY COMMIT EPOCH GZIP) writes the
# last commit of the checkout SOURCE to FILE, with the identity that a build
# of it without git takes.
function(bigsum_source_archive file source identity commit epoch gzip)
  get_filename_component(stage "${file}.identity" ABSOLUTE)
  file(MAKE_DIRECTORY "${stage}")
  file(WRITE "${stage}/packaged-identity.cmake"
    "set(packaged_identity \"${identity}\")\nset(packaged_commit \"${commit}\")\n"
    "set(packaged_epoch \"${epoch}\")\n")
  set(tree "bigsum-${identity}")
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" -C "${source}" -c tar.umask=0022 archive --format=tar
      "--prefix=${tree}/cmake/" "--add-file=${stage}/packaged-identity.cmake" "--prefix=${tree}/" HEAD
    COMMAND "${gzip}" -9 -n
    OUTPUT_FILE "${file}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${stage}")
endfunction()

# bigsum_source_identity(SOURCE) sets commit, id, epoch and checkout (SOURCE
# is the top of a git work tree) in the caller, from git, the package step's
# identity or git archive's, in that order.
function(bigsum_source_identity source)
  bigsum_version(version after "${source}")
  set(commit "")
  set(id "${version}-unknown")
  set(epoch "")
  set(checkout OFF)
  find_package(Git QUIET)
  if(Git_FOUND)
    bigsum_git(top "${source}" rev-parse --show-toplevel)
    file(REAL_PATH "${source}" real)
    if(top)
      file(REAL_PATH "${top}" top)
    endif()
    if(top STREQUAL real)
      set(checkout ON)
    endif()
  endif()
  file(STRINGS "${source}/cmake/source-identity.cmake" archived REGEX "^set\\(archived_")
  if(checkout)
    bigsum_read_git("${source}")
  elseif(EXISTS "${source}/cmake/packaged-identity.cmake")
    include("${source}/cmake/packaged-identity.cmake")
    set(commit "${packaged_commit}")
    set(id "${packaged_identity}")
    set(epoch "${packaged_epoch}")
  elseif(archived MATCHES "archived_commit \"([0-9a-f]+)\".*archived_epoch \"([0-9]+)\"")
    set(commit "${CMAKE_MATCH_1}")
    set(epoch "${CMAKE_MATCH_2}")
    string(SUBSTRING "${commit}" 0 7 short)
    set(id "${version}-g${short}")
  endif()
  foreach(var commit id epoch checkout)
    set(${var} "${${var}}" PARENT_SCOPE)
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  if(DEFINED SOURCE)
    bigsum_source_identity("${SOURCE}")
    if(DEFINED ARCHIVE)
      find_program(GZIP gzip REQUIRED)
      bigsum_source_archive("${ARCHIVE}" "${SOURCE}" "${id}" "${commit}" "${epoch}" "${GZIP}")
    endif()
    message(NOTICE "${id}")
  endif()
  return()  # make-packages.cmake wants only the functions
endif()

bigsum_source_identity("${PROJECT_SOURCE_DIR}")
set(BIGSUM_GIT_CHECKOUT ${checkout})
if(NOT DEFINED BIGSUM_IDENTITY AND checkout)
  # Configure again when HEAD moves, a ref is written or packed, or a
  # tracked file changes (and so the build's -dirty). A loose ref is
  # replaced by a rename in its folder, which the folder's time shows, also
  # when the ref was packed before.
  bigsum_git(branch "${PROJECT_SOURCE_DIR}" rev-parse --symbolic-full-name HEAD)
  set(paths --git-path HEAD --git-path packed-refs)
  if(branch MATCHES "^refs/")
    get_filename_component(branch_dir "${branch}" DIRECTORY)
    list(APPEND paths --git-path "${branch_dir}")
  endif()
  bigsum_git(git_files "${PROJECT_SOURCE_DIR}" rev-parse --path-format=absolute ${paths})
  bigsum_git(tracked "${PROJECT_SOURCE_DIR}" ls-files)
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
  set(BIGSUM_IDENTITY "${id}")
endif()

if(DEFINED BIGSUM_SOURCE_DATE_EPOCH)
  # handed down
elseif(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(BIGSUM_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  if(BIGSUM_IDENTITY STREQUAL PROJECT_VERSION AND NOT BIGSUM_SOURCE_DATE_EPOCH STREQUAL epoch)
    message(WARNING "SOURCE_DATE_EPOCH=${BIGSUM_SOURCE_DATE_EPOCH} is not the time of release "
                    "${BIGSUM_IDENTITY} (${epoch}): its archives will not be the release's bytes.")
  endif()
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
