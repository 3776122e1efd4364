# The release archives: the target `packages` installs this build and the
# Windows sub-build, stripped, and archives them into BIGSUM_PACKAGE_DIR.
include("${PROJECT_SOURCE_DIR}/cmake/windows-build.cmake")

add_custom_target(packages
  COMMAND "${CMAKE_COMMAND}"
    "-DVERSION=${PROJECT_VERSION}"
    "-DEPOCH=${BIGSUM_SOURCE_DATE_EPOCH}"
    "-DSOURCE=${PROJECT_SOURCE_DIR}"
    "-DX86_64_BUILD=${PROJECT_BINARY_DIR}"
    "-DWINDOWS_BUILD=${BIGSUM_WINDOWS_DIR}"
    "-DSTAGE=${PROJECT_BINARY_DIR}/package-stage"
    "-DOUT=${BIGSUM_PACKAGE_DIR}"
    -P "${PROJECT_SOURCE_DIR}/cmake/make-packages.cmake"
  COMMENT "Writing the release archives to ${BIGSUM_PACKAGE_DIR}"
  VERBATIM)
add_dependencies(packages bigsum bigsum_windows)
