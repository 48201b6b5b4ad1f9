# The browser build: Debian's Emscripten compiles the game to WebAssembly.
#
#   cmake --preset web -DDEMO_DEPS_PREFIX=$(scripts/deps web)
#
# Window, events, timing and OpenGL come from Emscripten's own SDL 1.2 and its
# OpenGL 1.x emulation on WebGL; SDL_image and SDL_ttf (with libpng, zlib and
# FreeType) are compiled for it by scripts/deps and found in DEMO_DEPS_PREFIX.
# Emscripten's tools are Python scripts that need Debian's own python3, so run
# CMake with /usr/bin first on PATH (scripts/web does).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

set(DEMO_DEPS_PREFIX "" CACHE PATH "SDL_image, SDL_ttf and their libraries built for the browser")
if(DEMO_DEPS_PREFIX)
  # Looked up like the system's own files, so its headers come before the
  # placeholders of the same name that Emscripten ships.
  list(PREPEND CMAKE_FIND_ROOT_PATH "${DEMO_DEPS_PREFIX}")
  list(PREPEND CMAKE_PREFIX_PATH "${DEMO_DEPS_PREFIX}")
  set(ENV{PKG_CONFIG_LIBDIR} "${DEMO_DEPS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
