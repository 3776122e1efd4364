# The release programs that this build does not make itself, each a build
# of its own in PROJECT_BINARY_DIR/PRESET, configured by its preset (the
# release settings and a toolchain) with this build's identity, date and
# flags: bigsum.exe in BIGSUM_WINDOWS_DIR and, with BIGSUM_PACKAGE, the
# aarch64 program and the target `packages`, which installs the three,
# stripped, and archives them into BIGSUM_PACKAGE_DIR.
include(ExternalProject)

function(bigsum_release_build target preset)
  ExternalProject_Add(${target}
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${PROJECT_BINARY_DIR}/${preset}"
    CONFIGURE_COMMAND "${CMAKE_COMMAND}" --preset ${preset} -S <SOURCE_DIR> -B <BINARY_DIR>
      "-DBIGSUM_IDENTITY=${BIGSUM_IDENTITY}"
      "-DBIGSUM_SOURCE_DATE_EPOCH=${BIGSUM_SOURCE_DATE_EPOCH}"
      "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
      "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
    BUILD_COMMAND "${CMAKE_COMMAND}" --build <BINARY_DIR>
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    ${ARGN})
endfunction()

set(BIGSUM_WINDOWS_DIR "${PROJECT_BINARY_DIR}/windows")
bigsum_release_build(bigsum_windows windows BUILD_BYPRODUCTS "${BIGSUM_WINDOWS_DIR}/bigsum.exe")
if(NOT BIGSUM_PACKAGE)
  return()
endif()
bigsum_release_build(bigsum_aarch64 aarch64)

set(BIGSUM_C_SOURCES /var/cache/bigsum/sources CACHE PATH
    "Where tools/install-deps put the source of the C library, as Debian published it")

# A source archive comes only from a git checkout, not from an unpacked one.
set(git "")
if(BIGSUM_GIT_CHECKOUT)
  set(git "${GIT_EXECUTABLE}")
endif()

find_program(TAR tar REQUIRED)
find_program(GZIP gzip REQUIRED)
find_program(ZIP zip REQUIRED)
find_program(GROFF groff REQUIRED)
# What the .buildinfo lists beside the builds' own tools: every other tool
# that made the archives, and the licence texts of the notices. git is there
# either way, so a rebuild from the source archive lists it too.
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
    "-DAARCH64_BUILD=${PROJECT_BINARY_DIR}/aarch64"
    "-DWINDOWS_BUILD=${BIGSUM_WINDOWS_DIR}"
    "-DC_SOURCES=${BIGSUM_C_SOURCES}"
    "-DSTAGE=${PROJECT_BINARY_DIR}/package-stage"
    "-DOUT=${BIGSUM_PACKAGE_DIR}"
    "-DGIT=${git}"
    "-DTAR=${TAR}"
    "-DGZIP=${GZIP}"
    "-DZIP=${ZIP}"
    "-DGROFF=${GROFF}"
    -P "${PROJECT_SOURCE_DIR}/cmake/make-packages.cmake"
  COMMENT "Writing the release archives to ${BIGSUM_PACKAGE_DIR}"
  VERBATIM)
add_dependencies(packages bigsum bigsum_aarch64 bigsum_windows)
