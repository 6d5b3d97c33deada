# Cross-compiling for 64-bit Windows with Debian's MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZERAK_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix threads variant, so that std::thread and std::mutex exist; -static keeps the
# .exe free of its DLL.
set(CMAKE_C_COMPILER ${ZERAK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZERAK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZERAK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZERAK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
