# Cross-builds bigsum.exe with the MinGW-w64 toolchain and runs the
# end-to-end cases against it under Wine, in a prefix kept in the build tree.
find_program(WINE wine REQUIRED)

set(WINE_PREFIX "${PROJECT_BINARY_DIR}/wineprefix")
configure_file(wine-run.in "${PROJECT_BINARY_DIR}/wine-run" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Wine's first start in a new prefix takes a while; do it once per build tree.
add_custom_command(OUTPUT "${WINE_PREFIX}/system.reg"
  COMMAND "${PROJECT_BINARY_DIR}/wine-run" wineboot --init
  COMMAND "${PROJECT_BINARY_DIR}/wine-run" --wait-server
  COMMENT "Creating the Wine prefix"
  VERBATIM)
add_custom_target(wine_prefix ALL DEPENDS "${WINE_PREFIX}/system.reg" bigsum_windows)

e2e_tests(wine 900
  ARGS "--exe=${BIGSUM_WINDOWS_DIR}/bigsum.exe" "--launcher=${PROJECT_BINARY_DIR}/wine-run" --eol=crlf
  PROPERTIES RUN_SERIAL ON)

# A PE32 console program for Intel 80386 that needs no MinGW runtime DLL;
# ADVAPI32.dll, on every Windows, seeds the stack guard.
find_program(FILE_COMMAND file REQUIRED)
add_test(NAME windows.exe_is_pe32_console
  COMMAND sh -c "\"$1\" -b \"$2\" | grep -q '^PE32 executable (console) Intel 80386'"
          sh "${FILE_COMMAND}" "${BIGSUM_WINDOWS_DIR}/bigsum.exe")
add_test(NAME windows.exe_needs_only_system_dlls
  COMMAND sh -c [=[p=$(i686-w64-mingw32-objdump -p "$1") || exit 1
      dlls=$(echo "$p" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f | tr '\n' ' ')
      [ "$dlls" = "ADVAPI32.dll KERNEL32.dll msvcrt.dll " ] || { echo "$1 imports: $dlls" >&2; exit 1; }]=]
          sh "${BIGSUM_WINDOWS_DIR}/bigsum.exe")
