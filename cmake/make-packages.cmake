# Writes the release archives and their checksums into OUT, and nothing else:
#   bigsum-VERSION-x86_64-linux-gnu.tar.gz  the install tree of LINUX_BUILD
#   bigsum-VERSION-i686-w64-mingw32.zip     bigsum.exe of WINDOWS_BUILD and README.txt
#   SHA256SUMS                              for `sha256sum -c`
# Every byte is a function of the sources and EPOCH: members are sorted, dated
# EPOCH, owned by 0 and given fixed modes, and gzip and zip store no name,
# time zone or extra fields of their own.
foreach(var VERSION EPOCH LINUX_BUILD WINDOWS_BUILD README STAGE OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-packages.cmake needs -D${var}=...")
  endif()
endforeach()

set(linux "bigsum-${VERSION}-x86_64-linux-gnu")
set(windows "bigsum-${VERSION}-i686-w64-mingw32")

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# strip writes SOURCE_DATE_EPOCH as the executable's PE time stamp, and zip
# stores local times.
set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
set(ENV{TZ} UTC)

file(REMOVE_RECURSE "${STAGE}" "${OUT}")
file(MAKE_DIRECTORY "${STAGE}/${windows}" "${OUT}")

run("${CMAKE_COMMAND}" --install "${LINUX_BUILD}" --prefix "${STAGE}/${linux}" --strip)
run("${CMAKE_COMMAND}" --install "${WINDOWS_BUILD}" --prefix "${STAGE}/windows-install" --strip)

file(COPY_FILE "${STAGE}/windows-install/bin/bigsum.exe" "${STAGE}/${windows}/bigsum.exe")
# Notepad on older Windows shows a text file properly only with CR LF.
file(READ "${README}" text)
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${STAGE}/${windows}/README.txt" "${text}")
file(CHMOD "${STAGE}/${windows}/bigsum.exe" PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD "${STAGE}/${windows}/README.txt" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
run(touch -d "@${EPOCH}" "${windows}/bigsum.exe" "${windows}/README.txt")

run(tar --create --format=ustar --sort=name "--mtime=@${EPOCH}" --owner=0 --group=0
        --numeric-owner --mode=u=rwX,go=rX "${linux}"
    COMMAND gzip -9 -n
    OUTPUT_FILE "${OUT}/${linux}.tar.gz")
run(zip -q -9 -X -D "${OUT}/${windows}.zip" "${windows}/README.txt" "${windows}/bigsum.exe")

set(sums "")
foreach(archive "${windows}.zip" "${linux}.tar.gz")
  file(SHA256 "${OUT}/${archive}" sum)
  string(APPEND sums "${sum}  ${archive}\n")
endforeach()
file(WRITE "${OUT}/SHA256SUMS" "${sums}")
message(STATUS "Wrote ${OUT}:\n${sums}")
