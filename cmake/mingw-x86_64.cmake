# The 64-bit Windows programs. Wine's 64-bit loader alone runs them, so they
# run on every machine, also one that cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LINDQUA_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
