# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread and Qt need).
#
# T2_WINDOWS_PREFIXES, when set, lists the folders of libraries built for
# Windows (Qt, GoogleTest); they are searched like the MinGW sysroot, so that
# find_package finds them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(T2_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${T2_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${T2_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${T2_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${T2_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${T2_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

if(NOT T2_WINDOWS_PREFIXES AND DEFINED ENV{T2_WINDOWS_PREFIXES})
    set(T2_WINDOWS_PREFIXES "$ENV{T2_WINDOWS_PREFIXES}")
endif()
# try_compile projects see the same folders.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES T2_WINDOWS_PREFIXES)

set(CMAKE_FIND_ROOT_PATH /usr/${T2_MINGW_TRIPLE} ${T2_WINDOWS_PREFIXES})
# Programs (moc, rcc, uic) come from the build machine; headers, libraries and
# CMake packages only from the Windows side.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
