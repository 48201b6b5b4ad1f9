# The script player, kz, built once for every platform, and the one Debian
# package that carries them all, so that `kz package` ships a game anywhere
# without a compiler (src/script/ScriptPackager.h says what it reads).
#
#   Windows  the component "player": kz.exe, the DLLs it loads and the
#            licences (scripts/windows installs it into build-windows/player)
#   web      build-web/player: the player's page, kz.js and kz.wasm, the
#            service worker's template, kz's icon and the licences
#   Linux    the component "kz": bin/kz, share/kz/players/ (the two above,
#            given as KZ_WINDOWS_PLAYER and KZ_WEB_PLAYER, and the Linux
#            player's notes), share/kz/starter/ (the game `kz new` writes),
#            the writer's guide. The same tree is made in the build folder,
#            so build/kz packages as the installed one does. `cpack` writes
#            it as kz_<version>_amd64.deb.
#
#   kz_players(<player target> <starter game folder> <Debian dependencies>)
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/web-player.cmake)

function(kz_players player starter depends)
  set_target_properties(${player} PROPERTIES OUTPUT_NAME kz)
  if(WIN32)
    install(TARGETS ${player} RUNTIME DESTINATION . COMPONENT player)
    kz_windows_runtime(player ZIP)
    install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION licenses/kz RENAME LICENSE.txt
      COMPONENT player)
    return()
  endif()

  if(EMSCRIPTEN)
    # No game inside: the page writes the one it is given into the memory
    # file system and starts the player on it (web/player.js).
    set(page ${CMAKE_BINARY_DIR}/player)
    set_target_properties(${player} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page})
    target_link_options(${player} PRIVATE "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']")
    kz_player_page(${page}/index.html)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/package/templates/sw.js ${page}/sw.js COPYONLY)
    configure_file(${CMAKE_SOURCE_DIR}/web/icon-192.png ${page}/icon.png COPYONLY)
    file(COPY ${DEMO_DEPS_PREFIX}/share/licenses/ DESTINATION ${page}/licenses)
    configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${page}/licenses/kz/LICENSE.txt COPYONLY)
    return()
  endif()

  set(KZ_WINDOWS_PLAYER "" CACHE PATH "kz for Windows, installed (build-windows/player)")
  set(KZ_WEB_PLAYER "" CACHE PATH "kz for the web (build-web/player)")
  set(share ${CMAKE_BINARY_DIR}/share/kz)
  set(copies "")
  # A player that could not be built is not there (scripts/test goes on
  # without it): kz package then says it has none, rather than ship an old one.
  foreach(system WINDOWS WEB)
    string(TOLOWER ${system} name)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E rm -rf ${share}/players/${name})
    if(KZ_${system}_PLAYER AND IS_DIRECTORY ${KZ_${system}_PLAYER})
      list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_directory ${KZ_${system}_PLAYER}
        ${share}/players/${name})
    else()
      message(STATUS "kz: no player for ${name} (KZ_${system}_PLAYER); kz package cannot make one")
    endif()
  endforeach()
  # The players built elsewhere are copied on every build: the Windows and
  # web builds may have made new ones since.
  add_custom_target(${player}_players ALL ${copies}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${starter} ${share}/starter
    COMMENT "The players kz packages games with" VERBATIM)
  add_dependencies(${player} ${player}_players)
  file(WRITE ${share}/players/linux/depends "${depends}\n")
  configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${share}/players/linux/copyright COPYONLY)
  # A game's icon where it has none of its own.
  configure_file(${CMAKE_SOURCE_DIR}/web/icon-192.png ${share}/icon.png COPYONLY)
  set_target_properties(${player} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

  install(TARGETS ${player} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kz)
  install(DIRECTORY ${share} DESTINATION ${CMAKE_INSTALL_DATADIR} COMPONENT kz
    USE_SOURCE_PERMISSIONS)
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kz
    RENAME copyright COMPONENT kz)
  if(EXISTS ${CMAKE_SOURCE_DIR}/docs/WRITING.md)
    install(FILES ${CMAKE_SOURCE_DIR}/docs/WRITING.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kz
      COMPONENT kz)
  endif()
endfunction()
