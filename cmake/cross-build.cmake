# bigsum_cross_build(TARGET DIR TOOLCHAIN [ExternalProject options...])
# Builds bigsum with cmake/TOOLCHAIN.cmake as a build of its own in DIR: the
# release program, hardened and linked statically, with this build's flags,
# identity and date.
include_guard(GLOBAL)
include(ExternalProject)

function(bigsum_cross_build target dir toolchain)
  ExternalProject_Add(${target}
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${dir}"
    CMAKE_ARGS
      "--toolchain=${PROJECT_SOURCE_DIR}/cmake/${toolchain}.cmake"
      -DCMAKE_BUILD_TYPE=Release
      -DBIGSUM_STATIC=ON
      -DBIGSUM_HARDEN=ON
      -DBUILD_TESTING=OFF
      "-DBIGSUM_IDENTITY=${BIGSUM_IDENTITY}"
      "-DBIGSUM_SOURCE_DATE_EPOCH=${BIGSUM_SOURCE_DATE_EPOCH}"
      "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
      "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    ${ARGN})
endfunction()
