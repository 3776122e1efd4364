# The release archives: the target `packages` installs this build and the
# aarch64 and Windows sub-builds, stripped, and archives them into
# BIGSUM_PACKAGE_DIR.
include("${PROJECT_SOURCE_DIR}/cmake/windows-build.cmake")

set(aarch64_dir "${PROJECT_BINARY_DIR}/aarch64")
bigsum_cross_build(bigsum_aarch64 "${aarch64_dir}" aarch64-linux-gnu)

# A source archive comes only from a git checkout, not from an unpacked one.
set(git "")
if(BIGSUM_GIT_CHECKOUT)
  set(git "${GIT_EXECUTABLE}")
endif()

find_program(TAR tar REQUIRED)
find_program(GZIP gzip REQUIRED)
find_program(ZIP zip REQUIRED)
find_program(GROFF groff)
# What the .buildinfo lists beside the builds' own tools: every other tool
# that made or checks the archives, and the licence texts of the notices.
# git is there either way, so a rebuild from the source archive lists it too.
set(tools "${CMAKE_COMMAND}" "${TAR}" "${GZIP}" "${ZIP}" "${GIT_EXECUTABLE}" "${GROFF}"
  /usr/share/common-licenses/GPL-3 /usr/share/common-licenses/LGPL-2.1)

add_custom_target(packages
  COMMAND "${CMAKE_COMMAND}"
    "-DVERSION=${PROJECT_VERSION}"
    "-DIDENTITY=${BIGSUM_IDENTITY}"
    "-DCOMMIT=${BIGSUM_COMMIT}"
    "-DTOOLS=${tools}"
    "-DEPOCH=${BIGSUM_SOURCE_DATE_EPOCH}"
    "-DSOURCE=${PROJECT_SOURCE_DIR}"
    "-DX86_64_BUILD=${PROJECT_BINARY_DIR}"
    "-DAARCH64_BUILD=${aarch64_dir}"
    "-DWINDOWS_BUILD=${BIGSUM_WINDOWS_DIR}"
    "-DSTAGE=${PROJECT_BINARY_DIR}/package-stage"
    "-DOUT=${BIGSUM_PACKAGE_DIR}"
    "-DGIT=${git}"
    "-DTAR=${TAR}"
    "-DGZIP=${GZIP}"
    "-DZIP=${ZIP}"
    -P "${PROJECT_SOURCE_DIR}/cmake/make-packages.cmake"
  COMMENT "Writing the release archives to ${BIGSUM_PACKAGE_DIR}"
  VERBATIM)
add_dependencies(packages bigsum bigsum_aarch64 bigsum_windows)
