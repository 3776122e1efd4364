# Checks the release archives that the package workflow wrote to
# BIGSUM_PACKAGE_DIR, and its build tree BIGSUM_PACKAGE_BUILD: checksums and
# members, the unpacked programs end to end (the aarch64 one under qemu,
# bigsum.exe under Wine), the man page, bigsum.exe's headers and resources,
# the programs' hardening and notices, and that the source archive, built
# elsewhere without git, gives the same bytes.
if(NOT BIGSUM_WINE_TESTS)
  message(FATAL_ERROR "BIGSUM_PACKAGE_TESTS needs BIGSUM_WINE_TESTS for bigsum.exe")
endif()
find_program(GROFF groff REQUIRED)
find_program(QEMU_AARCH64 qemu-aarch64-static REQUIRED)

set(BIGSUM_PACKAGE_BUILD "${PROJECT_SOURCE_DIR}/build/package" CACHE PATH
    "The package workflow's build tree, whose objects and link maps package.build reads")
set(scripts "${CMAKE_CURRENT_SOURCE_DIR}/package")
set(unpacked "${PROJECT_BINARY_DIR}/unpacked")
set(linux "${unpacked}/bigsum-${BIGSUM_IDENTITY}-x86_64-linux-gnu")
set(aarch64 "${unpacked}/bigsum-${BIGSUM_IDENTITY}-aarch64-linux-gnu")
set(windows "${unpacked}/bigsum-${BIGSUM_IDENTITY}-i686-w64-mingw32")

add_test(NAME package.unpack
  COMMAND "${scripts}/unpack" "${BIGSUM_PACKAGE_DIR}" "${unpacked}" "${BIGSUM_IDENTITY}"
          "${PROJECT_SOURCE_DIR}" "${BIGSUM_COMMIT}")
set_tests_properties(package.unpack PROPERTIES FIXTURES_SETUP unpacked)

e2e_tests(package.linux 120 ARGS "--exe=${linux}/bin/bigsum"
  PROPERTIES FIXTURES_REQUIRED unpacked)
e2e_tests(package.aarch64 120 ARGS "--exe=${aarch64}/bin/bigsum" "--launcher=${QEMU_AARCH64}"
  PROPERTIES FIXTURES_REQUIRED unpacked)
e2e_tests(package.windows 900
  ARGS "--exe=${windows}/bigsum.exe" "--launcher=${PROJECT_BINARY_DIR}/wine-run" --eol=crlf
  PROPERTIES RUN_SERIAL ON FIXTURES_REQUIRED unpacked)

add_test(NAME package.man_page
  COMMAND sh -c [=[w=$("$1" -man -ww -z "$2" 2>&1) && [ -z "$w" ] || { echo "$w" >&2; exit 1; }
      head -n 1 "$2" | grep -qxF "$3" || { echo "$2 does not begin with $3" >&2; exit 1; }]=]
          sh "${GROFF}" "${linux}/share/man/man1/bigsum.1"
          ".TH BIGSUM 1 ${BIGSUM_SOURCE_DATE} \"bigsum ${BIGSUM_IDENTITY}\" \"User Commands\"")
# The changelog's newest section is this release's; a development build's
# may also be Unreleased.
add_test(NAME package.changelog
  COMMAND sh -c [=[newest=$(grep -m 1 '^## ' "$1") release=${2%%-*}
      case $newest in "## $release - "????-??-??) exit 0 ;; "## Unreleased") [ "$2" = "$release" ] || exit 0 ;; esac
      echo "$1: the newest section is '$newest', not $2's" >&2; exit 1]=]
          sh "${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${BIGSUM_IDENTITY}")
add_test(NAME package.windows_exe
  COMMAND "${scripts}/check-exe" "${windows}/bigsum.exe" "${BIGSUM_IDENTITY}"
          "${BIGSUM_SOURCE_DATE_EPOCH}")
set_tests_properties(package.man_page package.windows_exe PROPERTIES FIXTURES_REQUIRED unpacked)

add_test(NAME package.build
  COMMAND "${scripts}/check-build" "${BIGSUM_PACKAGE_BUILD}" "${unpacked}" "${BIGSUM_IDENTITY}"
          "${BIGSUM_SOURCE_DATE_EPOCH}" "${BIGSUM_PACKAGE_DIR}" "${PROJECT_SOURCE_DIR}")
set_tests_properties(package.build PROPERTIES FIXTURES_REQUIRED unpacked)

add_test(NAME package.reproducible
  COMMAND "${scripts}/rebuild" "${BIGSUM_PACKAGE_DIR}" "${BIGSUM_IDENTITY}" "${PROJECT_SOURCE_DIR}")
set_tests_properties(package.reproducible PROPERTIES TIMEOUT 1800 FIXTURES_REQUIRED unpacked)

add_test(NAME build.without_test_libraries
  COMMAND "${scripts}/plain-build" "${PROJECT_SOURCE_DIR}"
          "${PROJECT_BINARY_DIR}/plain-build")
set_tests_properties(build.without_test_libraries PROPERTIES TIMEOUT 600)
