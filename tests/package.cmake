# Checks the release archives that the package workflow wrote to
# build/packages and its build trees: checksums and members, the unpacked
# programs end to end (see CMakeLists.txt), the man page, bigsum.exe's
# headers and resources, the programs' hardening and notices, the relinking
# recipe, what the package step refuses, and that the source archive, built
# elsewhere without git, gives the same bytes.
find_program(GROFF groff REQUIRED)
set(scripts "${CMAKE_CURRENT_SOURCE_DIR}/package")
set(packages "${PROJECT_SOURCE_DIR}/build/packages")
set(trees "${PROJECT_SOURCE_DIR}/build/package/release")
set(unpacked "${PROJECT_BINARY_DIR}/unpacked")

add_test(NAME package.unpack
  COMMAND "${scripts}/unpack" "${PROJECT_SOURCE_DIR}" "${unpacked}")
set_tests_properties(package.unpack PROPERTIES FIXTURES_SETUP unpacked)
set(fixture FIXTURES_REQUIRED unpacked)
set(aarch64 "${unpacked}/aarch64/bin/bigsum")
set(windows "${unpacked}/i686/bigsum.exe")
e2e_tests(package.linux 120
  ARGS "--exe=${unpacked}/x86_64/bin/bigsum" PROPERTIES ${fixture})

add_test(NAME package.man_page COMMAND sh -c [=[
    w=$("$1" -man -ww -z "$2" 2>&1) && [ -z "$w" ] || { echo "$w" >&2; exit 1; }
    head -n 1 "$2" | grep -q '^\.TH BIGSUM 1 [0-9-]* "bigsum [0-9][^"]*" "User Commands"$' ||
      { head -n 1 "$2"; exit 1; }]=]
  sh "${GROFF}" "${unpacked}/x86_64/share/man/man1/bigsum.1")
# The changelog's newest section is this release's; a development build's may also be Unreleased.
add_test(NAME package.changelog COMMAND sh -c [=[
    v=$(cat "$2") &&
    n=$(grep -m 1 '^## ' "$1") &&
    case $n in
      "## ${v%%-*} - "????-??-??) ;;
      "## Unreleased") [ "$v" != "${v%%-*}" ] ;;
      *) false ;;
    esac || { echo "$1: '$n' is not $v's section" >&2; exit 1; }]=]
  sh "${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${unpacked}/identity")
add_test(NAME package.windows_exe
  COMMAND "${scripts}/check-exe" "${windows}" "${unpacked}/identity" "${PROJECT_SOURCE_DIR}")
add_test(NAME package.build
  COMMAND "${scripts}/check-build" "${trees}" "${unpacked}" "${PROJECT_SOURCE_DIR}")
add_test(NAME package.relink
  COMMAND "${scripts}/relink" "${packages}" "${unpacked}" "${QEMU_AARCH64}")
add_test(NAME package.refusals COMMAND "${scripts}/refusals" "${PROJECT_SOURCE_DIR}")
add_test(NAME package.reproducible
  COMMAND "${scripts}/rebuild" "${packages}" "${unpacked}/identity" "${PROJECT_SOURCE_DIR}")
set_tests_properties(package.man_page package.changelog package.windows_exe package.build
  package.relink package.refusals package.reproducible PROPERTIES ${fixture} TIMEOUT 1200)

add_test(NAME build.without_test_libraries
  COMMAND "${scripts}/plain-build" "${PROJECT_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/plain-build")
set_tests_properties(build.without_test_libraries PROPERTIES TIMEOUT 600)
