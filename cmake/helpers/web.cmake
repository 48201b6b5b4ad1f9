# What the browser build links and how its page is put together; included by
# CMakeLists.txt when the toolchain is cmake/toolchains/emscripten.cmake.

# Emscripten's SDL 1.2 draws pictures and text with the browser: its surfaces
# live in canvases that C code cannot fill, its IMG_Load gives pictures the
# OpenGL emulation cannot read and its TTF_* draw with the browser's fonts.
# Defined in wasm, these functions win over its JavaScript ones: SDL_wasm gives
# plain-memory surfaces, SDL_image IMG_Load (PNG through libpng) and SDL_ttf
# every TTF_* function, text laid out and drawn with FreeType as SDL_ttf
# 2.0.11 does, so it is the desktop's to the pixel. scripts/deps web builds them
# (compat/, README.md there) with libpng, zlib and FreeType into
# DEMO_DEPS_PREFIX.
if(NOT DEMO_DEPS_PREFIX)
  message(FATAL_ERROR "The browser build needs DEMO_DEPS_PREFIX=$(scripts/deps web); scripts/web passes it")
endif()
set(WEB_LIBRARIES)
foreach(name SDL_image SDL_ttf SDL_wasm freetype png z)
  find_library(WEB_${name} NAMES ${name} ${name}16 PATHS ${DEMO_DEPS_PREFIX}/lib
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND WEB_LIBRARIES ${WEB_${name}})
endforeach()

add_library(web_system INTERFACE)
# The compile and link options every browser build of the engine needs
# (cmake/package/KZSystem.cmake, shared with games made with the installed SDK).
kz_web_options(${CMAKE_SOURCE_DIR}/src/KZ/platform/emscripten.h ${DEMO_DEPS_PREFIX}/include
  WEB_COMPILE_OPTIONS WEB_LINK_OPTIONS)
target_compile_options(web_system INTERFACE ${WEB_COMPILE_OPTIONS})
target_link_libraries(web_system INTERFACE ${WEB_LIBRARIES})
# Every byte of the demo's page goes down a phone's network: linked for size
# as games' default builds are (kz_web_size_options() in KZSystem.cmake). The
# demo's main calls SDL_main, which runs the loop.
kz_web_size_options(WEB_SIZE_OPTIONS "main;SDL_main")
target_link_options(web_system INTERFACE ${WEB_LINK_OPTIONS} ${WEB_SIZE_OPTIONS})
# The page: kz_add_game() (cmake/package/KZGame.cmake) makes build-web/page with
# index.html, Demo.js, Demo.wasm and Demo.data, all a static web server needs,
# in the demo's words (web/page.cmake); CMakeLists.txt adds what makes the
# demo's an installable app that plays offline (web_offline below).

# The demo's page as an app: its manifest and icons (rendered from
# art/icon.svg by scripts/render-pictures), and the service worker, written on
# every build with the fingerprint of the build's files.
function(web_offline target page)
  foreach(file manifest.webmanifest icon-192.png icon-512.png)
    configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${page}/${file} COPYONLY)
  endforeach()
  kz_web_offline(${target} ${page} demo
    "index.html;Demo.js;Demo.wasm;Demo.data;manifest.webmanifest;icon-192.png;Vera-COPYRIGHT.txt"
    icon-512.png)
endfunction()
