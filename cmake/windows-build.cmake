# bigsum.exe, cross-built with the MinGW-w64 toolchain in BIGSUM_WINDOWS_DIR.
include_guard(GLOBAL)
include("${CMAKE_CURRENT_LIST_DIR}/cross-build.cmake")

set(BIGSUM_WINDOWS_DIR "${PROJECT_BINARY_DIR}/windows")
bigsum_cross_build(bigsum_windows "${BIGSUM_WINDOWS_DIR}" mingw-w64-i686
  BUILD_BYPRODUCTS "${BIGSUM_WINDOWS_DIR}/bigsum.exe")
