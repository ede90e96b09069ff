# Cross compiles for 64-bit Windows with mingw-w64. The posix thread model is needed for std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CRV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CRV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CRV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CRV_MINGW_TRIPLE}-windres)

# Libraries built by scripts/cross-libs.sh land here; the mingw system root holds zlib.
if(NOT DEFINED CRV_WINDOWS_DEPS)
  set(CRV_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps")
endif()
get_filename_component(CRV_WINDOWS_DEPS "${CRV_WINDOWS_DEPS}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH "${CRV_WINDOWS_DEPS}" /usr/${CRV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Try-compiles see the same variables, so checks made by the libraries' own builds agree.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CRV_WINDOWS_DEPS)

# The ccache masquerade folder has no posix-thread names, so ccache goes in front instead.
find_program(CRV_CCACHE ccache)
if(CRV_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${CRV_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CRV_CCACHE})
endif()
