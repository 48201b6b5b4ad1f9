# What the browser build links and how its page is put together; included by
# CMakeLists.txt when the toolchain is cmake/emscripten.cmake.

# SDL_image and SDL_ttf are ours, compiled to WebAssembly with libpng, zlib and
# FreeType (scripts/deps web): they define IMG_Load and TTF_*, so Emscripten's
# JavaScript stand-ins of the same names (pictures the GL emulation cannot
# read, text in the browser's fonts) are never linked.
if(NOT DEMO_DEPS_PREFIX)
  message(FATAL_ERROR "The browser build needs DEMO_DEPS_PREFIX=$(scripts/deps web); scripts/web passes it")
endif()
set(WEB_LIBRARIES)
foreach(name SDL_ttf SDL_image freetype png16 z)
  find_library(WEB_${name} NAMES ${name} PATHS ${DEMO_DEPS_PREFIX}/lib
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND WEB_LIBRARIES ${WEB_${name}})
endforeach()

add_library(web_system INTERFACE)
target_include_directories(web_system INTERFACE ${DEMO_DEPS_PREFIX}/include)
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
  # Display lists are kept by src/KZ/platform/emscripten.cpp, which sees the
  # calls a list records through these.
  -Wl,--wrap=glBegin,--wrap=glEnd,--wrap=glVertex3i,--wrap=glTexCoord2i,--wrap=glBindTexture)

# The files the game loads, packed into Demo.data next to Demo.js.
set(WEB_RESOURCES Vera.ttf opaque.png pressbutton.png main.png personaje1.png personaje2.png
  body1.png lagartija.png silueta.png policia.png basurero2.png)

# The page: build-web/page holds index.html, Demo.js, Demo.wasm and Demo.data,
# all a static web server needs.
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
endfunction()
