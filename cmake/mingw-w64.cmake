# Cross-compiling Brannock for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix). Pass this file by absolute path:
#   cmake -S . -B build/win -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64.cmake
# The programs are linked statically, so they run under Wine without any
# MinGW runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRANNOCK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRANNOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRANNOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRANNOCK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRANNOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wide-character Win32 API throughout; Windows 7 as the oldest target.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs run under Wine when CMake or CTest needs to execute them.
find_program(BRANNOCK_WINE NAMES wine wine64)
if(BRANNOCK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BRANNOCK_WINE})
endif()
