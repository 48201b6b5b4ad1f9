# The browser build: Debian's Emscripten compiles the game to WebAssembly.
#
#   cmake --preset web -DDEMO_DEPS_PREFIX=$(scripts/deps web)
#
# Window, events, timing and OpenGL come from Emscripten's own SDL 1.2 and its
# OpenGL 1.x emulation on WebGL; cmake/helpers/web.cmake adds what the game needs
# beyond that, with the libraries scripts/deps builds into DEMO_DEPS_PREFIX.
# Emscripten's tools are Python scripts that need Debian's own python3, so run
# CMake with /usr/bin first on PATH (scripts/web does).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

set(DEMO_DEPS_PREFIX "" CACHE PATH "zlib, libpng and FreeType built for the browser (scripts/deps web)")
