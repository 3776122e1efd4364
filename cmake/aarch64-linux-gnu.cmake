# Cross-compiles for 64-bit ARM Linux with Debian's aarch64-linux-gnu toolchain.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The C library is Debian's multiarch libc6-dev:arm64, the same glibc as the
# x86_64 program's, not the cross toolchain's own older copy in
# /usr/aarch64-linux-gnu, which the compiler searches first: its headers take
# that copy's place in the compiler's own list (-nostdinc, then the list
# again), and BIGSUM_LIBC_DIR puts its start files and archives first.
set(multiarch_include /usr/include/aarch64-linux-gnu)
set(multiarch_lib /usr/lib/aarch64-linux-gnu)
if(NOT EXISTS "${multiarch_lib}/libc.a")
  message(FATAL_ERROR "The aarch64 build needs libc6-dev:arm64 (tools/install-deps)")
endif()
execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -x c++ -E -v /dev/null
  OUTPUT_QUIET ERROR_VARIABLE search COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE ".*search starts here:\n(.*)\nEnd of search list.*" "\\1" search "${search}")
string(REGEX MATCHALL "[^ \n]+" search "${search}")
set(libc_flags -nostdinc)
foreach(dir IN LISTS search)
  file(REAL_PATH "${dir}" dir)
  string(REGEX REPLACE "^/usr/aarch64-linux-gnu/include$" "${multiarch_include}" dir "${dir}")
  list(APPEND libc_flags "-isystem ${dir}")
endforeach()
list(REMOVE_DUPLICATES libc_flags)
list(JOIN libc_flags " " libc_flags)
foreach(config DEBUG RELEASE RELWITHDEBINFO MINSIZEREL)
  set(CMAKE_CXX_FLAGS_${config}_INIT "${libc_flags}")
endforeach()
set(BIGSUM_LIBC_DIR "${multiarch_lib}" CACHE PATH "")
