# Compiler options as usage requirements, so they reach exactly the targets that link them.
#
# pictarix_options: warnings, and the sanitizers when PICTARIX_SANITIZE or PICTARIX_FUZZ is on.
# Every layer links it PUBLIC: whatever builds on the core is compiled and linked the same way.
# pictarix_fuzz_coverage: libFuzzer's coverage instrumentation, linked PRIVATE by the layers
# (the code under fuzzing) and by the fuzz targets, not by seed writers or fixtures.

add_library(pictarix_options INTERFACE)
target_compile_options(pictarix_options INTERFACE -Wall -Wextra)
# GCC 12 reports -Wrestrict falsely on "literal" + std::string at -O2 (GCC bug 105651).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(pictarix_options INTERFACE -Wno-restrict)
endif()
if(PICTARIX_SANITIZE OR PICTARIX_FUZZ)
  target_compile_options(pictarix_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pictarix_options INTERFACE -fsanitize=address,undefined)
endif()

add_library(pictarix_fuzz_coverage INTERFACE)
if(PICTARIX_FUZZ)
  target_compile_options(pictarix_fuzz_coverage INTERFACE -fsanitize=fuzzer-no-link)
endif()
