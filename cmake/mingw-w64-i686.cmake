# Cross toolchain for 32-bit Windows (i686) with Debian's MinGW-w64, the programs users run
# from XP on. The win32 thread model: the posix one links its thread library, which calls
# GetTickCount64, and XP's kernel does not have it. The program uses no std::thread or
# std::mutex, so nothing of the posix model is missed; GoogleTest, which does, is left out
# of this build (tests/CMakeLists.txt).
set(VANTARY_WIN32_THREADS ON)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
