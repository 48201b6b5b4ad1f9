# What the KZ engine needs from the system it is built for, as one target of
# the package's own, KZ::system:
#   Linux:   SDL 1.2, SDL_image and SDL_ttf (pkg-config), OpenGL and GLU;
#   Windows: the same, from the prefix the SDK was installed into (its DLLs,
#            import libraries and pkg-config files come with the SDK);
#   web:     Emscripten's SDL 1.2 and OpenGL emulation, with the SDL_image,
#            SDL_ttf and plain-memory surfaces the SDK brings, and the options
#            the engine's main loop needs in a browser.
# Everything runs inside functions, so a game's CMakeLists.txt gets the target
# and no variables.

# The options of a browser build, for the build of the engine itself
# (cmake/helpers/web.cmake) and for games made with the installed SDK. `header` is
# src/KZ/platform/emscripten.h, wherever it is; `include` the folder with the
# compatibility libraries' SDL/SDL_image.h and SDL/SDL_ttf.h (compat/).
function(kz_web_options header include compile_var link_var)
  # The SDL 1.2 forms the engine uses where Emscripten's headers differ.
  # SDL_image.h and SDL_ttf.h are compat/'s, which declare only what the page
  # has: a call to anything else fails to compile instead of reaching
  # Emscripten's JavaScript versions. They include "SDL.h" as SDL's own
  # headers do, from Emscripten's SDL folder.
  set(${compile_var} -sUSE_SDL=1 "SHELL:-include ${header}" -I${include}
    "SHELL:-isystem ${EMSCRIPTEN_SYSROOT}/include/SDL" PARENT_SCOPE)
  set(${link_var}
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
    -Wl,--wrap=glTexImage2D,--wrap=SDL_Delay,--wrap=SDL_GL_SwapBuffers
    PARENT_SCOPE)
endfunction()

# How a page is linked for size: `-Oz`, Emscripten's small allocator (the
# engine allocates little, and nothing while it plays), and ASYNCIFY's
# rewriting kept to the functions on the way to a sleep: the loop itself, its
# sleep and frame swap, and `functions` (main, and SDL_main where main calls
# it), which call the loop through the application's virtual
# serialOrchestrator(), the one indirect call on that way. Every other
# indirect call is left as it is, which halves the wasm; so the call to
# serialOrchestrator() must be in one of `functions`. They are exported, so
# that each keeps its name when linking folds one into another.
function(kz_web_size_options var functions)
  set(add "")
  set(exported "")
  foreach(name ${functions})
    list(APPEND add "'${name}'")
    list(APPEND exported "'_${name}'")
  endforeach()
  string(REPLACE ";" "," add "${add}")
  string(REPLACE ";" "," exported "${exported}")
  set(${var} -Oz -sMALLOC=emmalloc
    -sASYNCIFY_IGNORE_INDIRECT "-sASYNCIFY_ADD=[${add}]" "-sEXPORTED_FUNCTIONS=[${exported}]"
    PARENT_SCOPE)
endfunction()

# Makes KZ::system for the SDK installed in `prefix`; on failure leaves the
# reason in `message_var` (empty when all was found).
function(kz_find_system prefix message_var)
  set(${message_var} "" PARENT_SCOPE)
  if(TARGET KZ::system)
    return()
  endif()
  if(EMSCRIPTEN)
    set(libraries "")
    foreach(name SDL_image SDL_ttf SDL_wasm freetype png z)
      find_library(KZ_WEB_${name} NAMES ${name} ${name}16 PATHS ${prefix}/lib
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
      if(NOT KZ_WEB_${name})
        set(${message_var} "the browser's ${name} is not in ${prefix}/lib" PARENT_SCOPE)
        return()
      endif()
      list(APPEND libraries ${KZ_WEB_${name}})
    endforeach()
    kz_web_options(${prefix}/include/kz/KZ/platform/emscripten.h ${prefix}/include compile link)
    add_library(KZ::system INTERFACE IMPORTED)
    set_target_properties(KZ::system PROPERTIES INTERFACE_LINK_LIBRARIES "${libraries}"
      INTERFACE_COMPILE_OPTIONS "${compile}" INTERFACE_LINK_OPTIONS "${link}")
    return()
  endif()

  find_package(PkgConfig QUIET)
  if(NOT PKG_CONFIG_FOUND)
    set(${message_var} "pkg-config was not found (on Debian: pkg-config)" PARENT_SCOPE)
    return()
  endif()
  if(WIN32)
    # SDL, SDL_image and SDL_ttf for Windows come with the SDK, never from
    # the build machine.
    set(saved_libdir "$ENV{PKG_CONFIG_LIBDIR}")
    set(saved_path "$ENV{PKG_CONFIG_PATH}")
    set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_PATH} "")
  endif()
  pkg_check_modules(KZ_SDL QUIET sdl SDL_image SDL_ttf)
  if(WIN32)
    set(ENV{PKG_CONFIG_LIBDIR} "${saved_libdir}")
    set(ENV{PKG_CONFIG_PATH} "${saved_path}")
  endif()
  if(NOT KZ_SDL_FOUND)
    set(${message_var} "SDL 1.2, SDL_image 1.2 and SDL_ttf 2.0 were not found through pkg-config \
(on Debian: libsdl1.2-compat-dev, libsdl-image1.2-dev, libsdl-ttf2.0-dev)" PARENT_SCOPE)
    return()
  endif()
  find_package(OpenGL QUIET COMPONENTS OpenGL)
  find_library(KZ_GLU_LIBRARY NAMES GLU glu32)
  if(NOT TARGET OpenGL::GL OR NOT KZ_GLU_LIBRARY)
    set(${message_var} "OpenGL and GLU were not found (on Debian: libgl-dev, libglu1-mesa-dev)"
      PARENT_SCOPE)
    return()
  endif()
  add_library(KZ::system INTERFACE IMPORTED)
  set_target_properties(KZ::system PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${KZ_SDL_INCLUDE_DIRS}"
    INTERFACE_COMPILE_OPTIONS "${KZ_SDL_CFLAGS_OTHER}"
    INTERFACE_LINK_OPTIONS "${KZ_SDL_LDFLAGS_OTHER}"
    INTERFACE_LINK_LIBRARIES "${KZ_SDL_LINK_LIBRARIES};OpenGL::GL;${KZ_GLU_LIBRARY}")
endfunction()
