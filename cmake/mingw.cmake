# Cross toolchain for the Windows programs, shared by both builds: mingw-w64
# with posix threads (std::jthread needs them) and a static runtime so that
# the programs run on a bare Windows or Wine without extra DLLs. The including
# file names the processor and the Wine loader that runs its programs.
set(CMAKE_SYSTEM_NAME Windows)
set(LINDQUA_MINGW ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${LINDQUA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LINDQUA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${LINDQUA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LINDQUA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${LINDQUA_WINE_LOADER})
