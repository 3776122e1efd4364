# Formatting and static analysis of the project's own code, run as tests.
find_program(CLANG_FORMAT clang-format REQUIRED)
find_program(CLANG_TIDY clang-tidy REQUIRED)

file(GLOB_RECURSE format_sources CONFIGURE_DEPENDS
  src/*.cpp src/*.h tests/*.cpp tests/*.h bench/*.cpp bench/*.c fuzz/*.cpp)
add_test(NAME lint.clang_format COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${format_sources})

# The files this build compiles; clang-tidy reads their flags from the
# compilation database. gcc's default standard is C++17 and clang's is not.
file(GLOB_RECURSE tidy_sources CONFIGURE_DEPENDS src/*.cpp tests/*.cpp bench/*.cpp)
add_test(NAME lint.clang_tidy COMMAND "${CLANG_TIDY}" -p "${PROJECT_BINARY_DIR}" --quiet
  --extra-arg=-std=c++17 ${tidy_sources})
set_tests_properties(lint.clang_tidy PROPERTIES TIMEOUT 600)
