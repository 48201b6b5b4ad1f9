# What the browser build links and how its page is put together; included by
# CMakeLists.txt when the toolchain is cmake/emscripten.cmake.

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
# SDL_image.h and SDL_ttf.h are compat/'s, which declare only what the page
# has: a call to anything else fails to compile instead of reaching
# Emscripten's JavaScript versions. They include "SDL.h" as SDL's own headers
# do, from Emscripten's SDL folder.
target_include_directories(web_system BEFORE INTERFACE ${DEMO_DEPS_PREFIX}/include)
target_include_directories(web_system SYSTEM INTERFACE ${EMSCRIPTEN_SYSROOT}/include/SDL)
# The SDL 1.2 forms the engine uses where Emscripten's headers differ.
target_compile_options(web_system INTERFACE -sUSE_SDL=1
  "SHELL:-include ${CMAKE_SOURCE_DIR}/src/KZ/platform/emscripten.h")
target_link_libraries(web_system INTERFACE ${WEB_LIBRARIES})
target_link_options(web_system INTERFACE
  -sUSE_SDL=1
  # OpenGL 1.1 immediate mode on WebGL.
  -sLEGACY_GL_EMULATION=1
  # The game's own loop sleeps in SDL_Delay; ASYNCIFY turns that into giving
  # the page back to the browser until the next frame.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1
  # A fatal message ends the program (exit(1)); the page hears of it.
  -sEXIT_RUNTIME=1
  -sENVIRONMENT=web
  # src/KZ/platform/emscripten.cpp sees these calls first: the ones display
  # lists record, texture uploads, the frame's sleep and the swap.
  -Wl,--wrap=glBegin,--wrap=glEnd,--wrap=glVertex3i,--wrap=glTexCoord2i,--wrap=glBindTexture
  -Wl,--wrap=glTexImage2D,--wrap=SDL_Delay,--wrap=SDL_GL_SwapBuffers)

# The files the game loads, packed into Demo.data next to Demo.js.
set(WEB_RESOURCES Vera.ttf opaque.png pressbutton.png main.png personaje1.png personaje2.png
  body1.png lagartija.png silueta.png policia.png basurero2.png)

# The page: build-web/page holds index.html, Demo.js, Demo.wasm and Demo.data,
# all a static web server needs, and the font's licence.
function(web_page target)
  set(page ${CMAKE_BINARY_DIR}/page)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page})
  set(resources)
  foreach(file ${WEB_RESOURCES})
    set(path ${CMAKE_SOURCE_DIR}/res/${file})
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${path}@res/${file}")
    list(APPEND resources ${path})
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${resources})
  configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${page}/index.html COPYONLY)
  # The font's licence goes wherever the font goes.
  configure_file(${CMAKE_SOURCE_DIR}/res/Vera-COPYRIGHT.txt ${page}/Vera-COPYRIGHT.txt COPYONLY)
endfunction()
