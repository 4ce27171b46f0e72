# Cross-builds the Windows programs with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix): the
# posix thread model gives std::thread and std::mutex. Programs link statically, so they run
# under Wine or on Windows without the MinGW runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
# Header-only libraries (CLI11, nlohmann-json) come from the build machine's /usr/share and
# /usr/include; programs to run come from the build machine, libraries from the target.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests of the cross-build run through Wine.
find_program(QP40_WINE wine)
if(QP40_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QP40_WINE})
endif()
