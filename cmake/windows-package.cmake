# The game for Windows as one folder that a player unzips anywhere and starts
# by double-clicking Demo.exe: the game, the DLLs it loads, res/, a short
# read-me in Spanish and English, and the licence of everything bundled.
# `cmake --install build-windows --component game --prefix DIR` lays it out in
# DIR; scripts/windows packs that into Demo-windows-x64.zip.
#
# DEMO_DEPS_PREFIX is the dependency prefix made by scripts/deps windows: its
# bin/ holds the DLLs and share/licenses/ one folder per library.

# Every DLL that was built for the game (SDL.dll, SDL_image.dll, SDL_ttf.dll;
# zlib, libpng and FreeType are inside the last two).
file(GLOB DEMO_DEPS_DLLS ${DEMO_DEPS_PREFIX}/bin/*.dll)
if(NOT DEMO_DEPS_DLLS)
  message(FATAL_ERROR "No DLLs in ${DEMO_DEPS_PREFIX}/bin: set DEMO_DEPS_PREFIX to the prefix "
    "that scripts/deps windows prints")
endif()
# The C++ runtime is linked in, but calls the threads library, a DLL of the
# cross compiler's.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
  OUTPUT_VARIABLE DEMO_WINPTHREAD OUTPUT_STRIP_TRAILING_WHITESPACE)

install(TARGETS Demo RUNTIME DESTINATION . COMPONENT game)
install(FILES ${DEMO_DEPS_DLLS} ${DEMO_WINPTHREAD} DESTINATION . COMPONENT game)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/res/ DESTINATION res COMPONENT game)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/LEEME.txt DESTINATION . COMPONENT game)

# Licences: the game's, each bundled library's, the font's, and the
# compiler's runtime (the C++ and GCC runtimes are linked into Demo.exe, the
# threads library ships as a DLL).
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION licenses/demo RENAME LICENSE.txt
  COMPONENT game)
install(DIRECTORY ${DEMO_DEPS_PREFIX}/share/licenses/ DESTINATION licenses COMPONENT game)
install(FILES ${CMAKE_SOURCE_DIR}/res/Vera-COPYRIGHT.txt DESTINATION licenses/bitstream-vera
  RENAME COPYRIGHT.txt COMPONENT game)
foreach(package gcc-mingw-w64-base mingw-w64-common)
  install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses/${package}
    RENAME copyright.txt COMPONENT game)
endforeach()
