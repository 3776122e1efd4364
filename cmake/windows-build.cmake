# bigsum.exe, cross-built with the MinGW-w64 toolchain as a build of its own
# in BIGSUM_WINDOWS_DIR, with this build's flags.
include_guard(GLOBAL)
include(ExternalProject)

set(BIGSUM_WINDOWS_DIR "${PROJECT_BINARY_DIR}/windows")
ExternalProject_Add(bigsum_windows
  SOURCE_DIR "${PROJECT_SOURCE_DIR}"
  BINARY_DIR "${BIGSUM_WINDOWS_DIR}"
  CMAKE_ARGS
    "--toolchain=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake"
    -DCMAKE_BUILD_TYPE=Release
    -DBIGSUM_STATIC=ON
    -DBIGSUM_TESTS=OFF
    "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
    "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
  BUILD_BYPRODUCTS "${BIGSUM_WINDOWS_DIR}/bigsum.exe"
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
