# The 32-bit Windows programs. They run under Wine's 32-bit loader, directly
# in a 32-bit prefix or under WOW64 in a 64-bit one.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LINDQUA_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
