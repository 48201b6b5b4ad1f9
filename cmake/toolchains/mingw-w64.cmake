# Cross-compiling for 64-bit Windows with Debian's mingw-w64, POSIX threads
# variant (std::thread and friends work; the thread library is winpthread).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
#         -DDEMO_DEPS_PREFIX="$(scripts/deps windows | tail -n 1)" ...
#
# DEMO_DEPS_PREFIX is the prefix scripts/deps built the C libraries into
# (SDL 1.2, SDL_image, SDL_ttf, FreeType, libpng, zlib). CMake's
# find_* and pkg-config look there and in the cross compiler's own root,
# never in the build machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DEMO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DEMO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DEMO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DEMO_MINGW_TRIPLET}-windres)

# try_compile() projects re-read this file; hand the prefix down to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DEMO_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${DEMO_MINGW_TRIPLET})
if(DEMO_DEPS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${DEMO_DEPS_PREFIX}")
  list(APPEND CMAKE_PREFIX_PATH "${DEMO_DEPS_PREFIX}")
  # Only the prefix's .pc files: the build machine's describe Linux libraries.
  set(ENV{PKG_CONFIG_LIBDIR} "${DEMO_DEPS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine (e.g. tests through ctest).
find_program(DEMO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(DEMO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DEMO_WINE})
endif()
