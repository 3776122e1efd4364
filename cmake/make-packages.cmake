# Writes the release archives and their checksums into OUT, and nothing else:
#   bigsum-IDENTITY-x86_64-linux-gnu.tar.gz   the install tree of X86_64_BUILD
#                                             with its third-party notices
#   bigsum-IDENTITY-aarch64-linux-gnu.tar.gz  the same of AARCH64_BUILD
#   bigsum-IDENTITY-i686-w64-mingw32.zip      bigsum.exe of WINDOWS_BUILD, its
#                                             README.txt, the changelog, the
#                                             licence and its notices, with CR
#                                             LF line ends
#   bigsum-IDENTITY.tar.gz                    the last commit of SOURCE, when GIT
#                                             is given (SOURCE is a git checkout)
#   glibc_VERSION.dsc and the files it names  the source of each GNU C
#                                             Library linked in, from C_SOURCES
#   SHA256SUMS                                for `sha256sum -c`: the files
#                                             above, which a rebuild gives
#                                             byte for byte
#   bigsum-IDENTITY.buildinfo                 the packages that built them
# IDENTITY is the build's (cmake/source-identity.cmake), VERSION VERSION's,
# COMMIT its commit; TOOLS the tools beyond the builds' own, for the
# .buildinfo.
# Every byte but the .buildinfo's is a function of the sources and EPOCH:
# members are sorted, dated EPOCH, owned by 0 and given fixed modes, and gzip
# and zip store no name, time zone or extra fields of their own. All files
# are made in STAGE first; OUT gets them only once every one is made.
cmake_minimum_required(VERSION 3.25)
foreach(var VERSION IDENTITY COMMIT TOOLS EPOCH SOURCE X86_64_BUILD AARCH64_BUILD WINDOWS_BUILD C_SOURCES STAGE OUT TAR GZIP ZIP GROFF)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-packages.cmake needs -D${var}=...")
  endif()
endforeach()

set(windows "bigsum-${IDENTITY}-i686-w64-mingw32")
include("${SOURCE}/cmake/build-record.cmake")

# The build configures again when HEAD or a tracked file changes; should the
# source still have moved since, its archives would carry another's name.
if(GIT)
  include("${SOURCE}/cmake/source-identity.cmake")
  set(GIT_EXECUTABLE "${GIT}")
  bigsum_read_git("${SOURCE}")
  if(NOT id STREQUAL IDENTITY)
    message(FATAL_ERROR "This build is of ${IDENTITY}, the source now ${id}: build again.")
  endif()
  if(changes)
    message(WARNING "The work tree has uncommitted changes, so these archives are "
                    "bigsum-${IDENTITY}, and the source archive holds the last commit "
                    "without them:\n${changes}")
  endif()
endif()

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# strip writes SOURCE_DATE_EPOCH as the executable's PE time stamp, and zip
# stores local times.
set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
set(ENV{TZ} UTC)

set(done "${STAGE}/out")
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/${windows}" "${done}")
set(archives "")

foreach(arch x86_64 aarch64)
  string(TOUPPER "${arch}_BUILD" build)
  set(tree "bigsum-${IDENTITY}-${arch}-linux-gnu")
  run("${CMAKE_COMMAND}" --install "${${build}}" --prefix "${STAGE}/${tree}" --strip)
  bigsum_glibc_source(version files "${${build}}/bigsum.map" "${C_SOURCES}")
  bigsum_notices("${STAGE}/${tree}/share/doc/bigsum/THIRD-PARTY-NOTICES"
    "${${build}}/bigsum.map" "${IDENTITY}" "${SOURCE}/doc/third-party" "${version}" "${files}")
  foreach(f IN LISTS files)
    if(NOT f IN_LIST archives)
      file(COPY_FILE "${C_SOURCES}/${f}" "${done}/${f}")
      list(APPEND archives "${f}")
    endif()
  endforeach()
  run("${TAR}" --create --format=ustar --sort=name "--mtime=@${EPOCH}" --owner=0 --group=0
          --numeric-owner --mode=u=rwX,go=rX "${tree}"
      COMMAND "${GZIP}" -9 -n
      OUTPUT_FILE "${done}/${tree}.tar.gz")
  list(APPEND archives "${tree}.tar.gz")
endforeach()

run("${CMAKE_COMMAND}" --install "${WINDOWS_BUILD}" --prefix "${STAGE}/windows-install" --strip)
file(COPY_FILE "${STAGE}/windows-install/bin/bigsum.exe" "${STAGE}/${windows}/bigsum.exe")
file(CHMOD "${STAGE}/${windows}/bigsum.exe" PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(members "${windows}/bigsum.exe")
bigsum_notices("${STAGE}/THIRD-PARTY-NOTICES" "${WINDOWS_BUILD}/bigsum.map" "${IDENTITY}"
  "${SOURCE}/doc/third-party" "" "")
# The zip's README is for the person who runs bigsum.exe: doc/README.txt.in
# with the exit status and messages as the man page gives them, rendered as
# plain text, unjustified.
file(READ "${STAGE}/bigsum-${IDENTITY}-x86_64-linux-gnu/share/man/man1/bigsum.1" man)
string(REGEX REPLACE "^([^\n]*\n)" "\\1.na\n" man "${man}")
file(WRITE "${STAGE}/bigsum.1" "${man}")
execute_process(COMMAND "${GROFF}" -man -Tascii -P-cbou -rLL=74n "${STAGE}/bigsum.1"
  OUTPUT_VARIABLE man COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE ".*\nEXIT STATUS\n(.*)" "\\1" EXIT_STATUS "${man}")
string(REGEX REPLACE "\n[A-Z][^\n]*\n.*" "\n" EXIT_STATUS "${EXIT_STATUS}")
configure_file("${SOURCE}/doc/README.txt.in" "${STAGE}/README.txt" @ONLY)
# Notepad on older Windows shows a text file properly only with CR LF, and
# one that is not ASCII only with a byte-order mark.
string(ASCII 239 187 191 bom)
foreach(path "${STAGE}/README.txt" "${SOURCE}/CHANGELOG.md" "${SOURCE}/LICENSE"
             "${STAGE}/THIRD-PARTY-NOTICES")
  get_filename_component(base "${path}" NAME_WE)
  set(text_file "${windows}/${base}.txt")
  file(READ "${path}" text)
  string(REPLACE "\n" "\r\n" text "${text}")
  if(NOT text MATCHES "^[\t\r\n -~]*$")
    string(PREPEND text "${bom}")
  endif()
  file(WRITE "${STAGE}/${text_file}" "${text}")
  file(CHMOD "${STAGE}/${text_file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  list(APPEND members "${text_file}")
endforeach()
list(SORT members)
run(touch -d "@${EPOCH}" ${members})
run("${ZIP}" -q -9 -X -D "${done}/${windows}.zip" ${members})
list(APPEND archives "${windows}.zip")

# The source archive tells a build of it, without git, its identity and date.
if(GIT)
  bigsum_source_archive("${done}/bigsum-${IDENTITY}.tar.gz" "${SOURCE}" "${IDENTITY}" "${COMMIT}"
    "${EPOCH}" "${GZIP}")
  list(APPEND archives "bigsum-${IDENTITY}.tar.gz")
endif()

list(SORT archives)
set(sums "")
foreach(archive IN LISTS archives)
  file(SHA256 "${done}/${archive}" sum)
  string(APPEND sums "${sum}  ${archive}\n")
endforeach()
file(WRITE "${done}/SHA256SUMS" "${sums}")
set(buildinfo "bigsum-${IDENTITY}.buildinfo")
bigsum_buildinfo("${done}/${buildinfo}" "${IDENTITY}" "${COMMIT}" "${EPOCH}" "${done}" "${archives}"
  "${X86_64_BUILD};${AARCH64_BUILD};${WINDOWS_BUILD}" "${TOOLS}")

# OUT may be a folder of the user's, such as ~/Downloads, on another file
# system: copy the set in under temporary names, then rename each over its
# old one, so that a failure leaves OUT as it was. Without git no source
# archive is written, and one that is there may be the download this build
# came from.
set(files ${archives} SHA256SUMS ${buildinfo})
file(MAKE_DIRECTORY "${OUT}")
foreach(f IN LISTS files)
  file(COPY_FILE "${done}/${f}" "${OUT}/.${f}.new" RESULT failed)
  if(failed)
    list(TRANSFORM files PREPEND "${OUT}/." OUTPUT_VARIABLE partial)
    list(TRANSFORM partial APPEND ".new")
    file(REMOVE ${partial})
    message(FATAL_ERROR "Could not write ${OUT}/.${f}.new: ${failed}")
  endif()
endforeach()
foreach(f IN LISTS files)
  file(RENAME "${OUT}/.${f}.new" "${OUT}/${f}")
endforeach()
message(STATUS "Wrote ${OUT}:\n${sums}")
