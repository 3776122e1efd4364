# Names and dates the source tree SOURCE by the rule in doc/RELEASING.md,
# from VERSION and the commit graph; no tag is read. Sets
#   BIGSUM_IDENTITY  the name every output carries
#   BIGSUM_EPOCH     SOURCE_DATE_EPOCH when set, else the commit's time
#   BIGSUM_DATE      the same as YYYY-MM-DD (UTC)
#   BIGSUM_COMMIT    the full commit id ("" when unknown)
# With -DPRINT=ON it prints the name, the epoch and the commit. With -DOUT=DIR
# it writes the man page and bigsum.rc there; configure_file rewrites them
# only when the name or the date changes, so a commit renames a build
# without configuring it again.
set(archived "$Format:%H %ct$")  # git archive fills this in

file(READ "${SOURCE}/VERSION" line)
if(NOT line MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+) ([0-9a-f]+)\n$")
  message(FATAL_ERROR "${SOURCE}/VERSION must be one line 'X.Y.Z COMMIT', not '${line}'")
endif()
set(version "${CMAKE_MATCH_1}")
set(after "${CMAKE_MATCH_2}")
function(git out)  # a failed git command prints nothing
  execute_process(COMMAND git -C "${SOURCE}" ${ARGN}
    OUTPUT_VARIABLE o OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  set(${out} "${o}" PARENT_SCOPE)
endfunction()

git(top rev-parse --show-toplevel)
file(REAL_PATH "${SOURCE}" real)
if(top AND top STREQUAL real)
  git(BIGSUM_COMMIT rev-parse HEAD)
  git(parent rev-parse -q --verify HEAD^)
  git(count rev-list --count "${after}..HEAD")
  git(epoch log -1 --format=%ct)
  git(changes status --porcelain --untracked-files=no)
  git(before show "${after}:VERSION")
  string(REGEX MATCH "^[0-9.]+" before "${before}")
  string(SUBSTRING "${BIGSUM_COMMIT}" 0 7 short)
  math(EXPR n "0${count} - 1")
  if(parent STREQUAL after AND version VERSION_GREATER before)
    set(BIGSUM_IDENTITY "${version}")
  elseif(n GREATER 0)
    set(BIGSUM_IDENTITY "${version}-${n}-g${short}")
  else()
    set(BIGSUM_IDENTITY "${version}-g${short}")
  endif()
  if(changes)
    string(APPEND BIGSUM_IDENTITY "-dirty")
  endif()
elseif(EXISTS "${SOURCE}/cmake/packaged-identity.cmake")  # the package step's source archive
  include("${SOURCE}/cmake/packaged-identity.cmake")
elseif(archived MATCHES "^([0-9a-f]+) ([0-9]+)$")
  set(BIGSUM_COMMIT "${CMAKE_MATCH_1}")
  set(epoch "${CMAKE_MATCH_2}")
  string(SUBSTRING "${BIGSUM_COMMIT}" 0 7 short)
  set(BIGSUM_IDENTITY "${version}-g${short}")
else()
  set(BIGSUM_COMMIT "")
  set(BIGSUM_IDENTITY "${version}-unknown")
  string(TIMESTAMP epoch "%s" UTC)
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be whole seconds, not '${epoch}'")
endif()
set(BIGSUM_EPOCH "${epoch}")
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")  # string(TIMESTAMP) formats it
string(TIMESTAMP BIGSUM_DATE "%Y-%m-%d" UTC)

if(PRINT)
  message(NOTICE "${BIGSUM_IDENTITY} ${BIGSUM_EPOCH} ${BIGSUM_COMMIT}")
elseif(DEFINED OUT)
  string(REPLACE "." "," numbers "${version}")
  # A development bigsum.exe is marked as a prerelease.
  string(REGEX REPLACE "^[0-9.]+-.+$" "VS_FF_PRERELEASE" file_flags "${BIGSUM_IDENTITY}")
  string(REGEX REPLACE "^[0-9.]+$" "0" file_flags "${file_flags}")
  file(STRINGS "${SOURCE}/LICENSE" copyright REGEX "^Copyright " LIMIT_COUNT 1)
  set(manifest "${SOURCE}/src/app/bigsum.exe.manifest")
  configure_file("${SOURCE}/doc/bigsum.1.in" "${OUT}/bigsum.1" @ONLY)
  configure_file("${SOURCE}/src/app/bigsum.rc.in" "${OUT}/bigsum.rc" @ONLY)
endif()
