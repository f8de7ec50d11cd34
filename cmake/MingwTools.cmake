# The MinGW binutils that link real PE modules for tests and fuzz seeds at run time. A tool that
# is missing leaves its variable at ...-NOTFOUND; the fixtures then report the tools unavailable
# and the tests that need them skip.
#
#   pictarix_use_mingw_tools(<target>): hands the paths to <target> as compile definitions.

find_program(PICTARIX_WINDRES64 x86_64-w64-mingw32-windres)
find_program(PICTARIX_LD64 x86_64-w64-mingw32-ld)
find_program(PICTARIX_WINDRES32 i686-w64-mingw32-windres)
find_program(PICTARIX_LD32 i686-w64-mingw32-ld)

function(pictarix_use_mingw_tools target)
  target_compile_definitions(${target} PRIVATE
    PICTARIX_WINDRES64="${PICTARIX_WINDRES64}" PICTARIX_LD64="${PICTARIX_LD64}"
    PICTARIX_WINDRES32="${PICTARIX_WINDRES32}" PICTARIX_LD32="${PICTARIX_LD32}")
endfunction()
