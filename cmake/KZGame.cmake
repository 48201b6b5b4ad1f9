# kz_add_game(): one recipe for a game on every system the KZ SDK is built
# for. The same call, in a CMakeLists.txt configured with the SDK of each
# toolchain, gives:
#
#   Linux    the program, runnable from the build folder (res/ is copied
#            beside it); `cmake --install` puts it in libexec/<id>, res/ in
#            share/<id>/res, a launcher bin/<id> that runs it from there, a
#            menu entry and icon; `cpack` makes <id>_<version>_<arch>.deb.
#   Windows  <target>.exe for double-clicking; `cmake --install` (or the
#            target <target>-zip, which packs it as <target>-windows-x64.zip)
#            lays out one folder: the program, the DLLs it loads, res/, a
#            read-me and licenses/.
#   web      a page in <build>/page: index.html, <target>.js, .wasm and .data
#            (res/ packed inside), for any static web server.
#
# <id> is the target's name in lower case. Everything is installed as the
# component "game".
#
#   kz_add_game(<target>
#     SOURCES <file>...          the game's sources, main.cpp among them
#     RESOURCES <dir|file>...    what goes into res/: a folder's contents, or a file
#     [NAME <text>]              the game's name for people (default: <target>)
#     [COMMENT <text>]           one line on what it is, for the menu and read-me
#     [VERSION <x.y.z>]          the package's version (default: the project's, or 1.0.0)
#     [ICON <png|svg>...]        icons for the menu (a 256 x 256 PNG, an SVG)
#     [DESKTOP <file>]           a menu entry of your own instead of the made one
#     [README <file>]            the Windows read-me instead of the made README.txt
#     [PAGE <file>]              the web page instead of the made one (it loads <target>.js)
#     [LICENSE <file>]           the game's licence
#     [LICENSES <file>...])      licences of what it bundles (a font's, ...)
#
# The target links KZ::framework; link more to it as to any executable.

# Where the SDK's own files are: `prefix` holds, for Windows, the DLLs (bin/)
# and the libraries' licences (share/licenses/); `templates` the files below.
# Called once by the package (or by the engine's own build).
# What a game's Debian package needs from the system: SDL 1.2 is the SDL 2
# based sdl12-compat the engine is tested against, or the classic library;
# libGL, which SDL opens itself, brings the system's OpenGL driver.
set(KZ_GAME_DEBIAN_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1, \
libsdl1.2-compat | libsdl1.2debian (>= 1.2.15), libsdl-image1.2 (>= 1.2.10), libsdl-ttf2.0-0, \
libgl1, libopengl0, libglu1-mesa | libglu1")

function(kz_game_files prefix templates)
  set_property(GLOBAL PROPERTY KZ_GAME_PREFIX "${prefix}")
  set_property(GLOBAL PROPERTY KZ_GAME_TEMPLATES "${templates}")
endfunction()

# What a Windows program made with the SDK ships beside it, installed as
# `component` into the top of its folder: the DLLs it loads, the compiler's
# threads DLL, which the C++ runtime linked into it calls, and the licences
# of everything bundled (licenses/: each library's and the compiler's
# runtime's). minizip's licence goes only with a program that reads zips:
# kz_windows_runtime(<component> [ZIP]).
function(kz_windows_runtime component)
  get_property(prefix GLOBAL PROPERTY KZ_GAME_PREFIX)
  file(GLOB dlls ${prefix}/bin/*.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
    OUTPUT_VARIABLE winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(EXISTS "${winpthread}")
    list(APPEND dlls ${winpthread})
  endif()
  install(FILES ${dlls} DESTINATION . COMPONENT ${component})
  if(IS_DIRECTORY ${prefix}/share/licenses)
    install(DIRECTORY ${prefix}/share/licenses/ DESTINATION licenses COMPONENT ${component}
      PATTERN minizip EXCLUDE)
    if(ARGV1 STREQUAL "ZIP")
      install(DIRECTORY ${prefix}/share/licenses/minizip DESTINATION licenses
        COMPONENT ${component})
    endif()
  endif()
  foreach(package gcc-mingw-w64-base mingw-w64-common)
    if(EXISTS /usr/share/doc/${package}/copyright)
      install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses/${package}
        RENAME copyright.txt COMPONENT ${component})
    endif()
  endforeach()
endfunction()

function(kz_add_game target)
  cmake_parse_arguments(PARSE_ARGV 1 GAME ""
    "NAME;COMMENT;VERSION;DESKTOP;README;LICENSE;PAGE" "SOURCES;RESOURCES;ICON;LICENSES")
  if(NOT GAME_SOURCES)
    message(FATAL_ERROR "kz_add_game(${target}): no SOURCES")
  endif()
  if(NOT GAME_NAME)
    set(GAME_NAME ${target})
  endif()
  if(NOT GAME_COMMENT)
    set(GAME_COMMENT "A point-and-click game")
  endif()
  if(NOT GAME_VERSION)
    set(GAME_VERSION "${PROJECT_VERSION}")
    if(NOT GAME_VERSION)
      set(GAME_VERSION 1.0.0)
    endif()
  endif()
  get_property(prefix GLOBAL PROPERTY KZ_GAME_PREFIX)
  get_property(templates GLOBAL PROPERTY KZ_GAME_TEMPLATES)
  string(TOLOWER "${target}" id)
  set(KZ_GAME_NAME "${GAME_NAME}")
  set(KZ_GAME_COMMENT "${GAME_COMMENT}")
  set(KZ_GAME_ID "${id}")
  set(KZ_GAME_EXE "${target}")

  # Resources: folders give their contents, files themselves.
  set(res_dirs "")
  set(res_files "")
  foreach(item ${GAME_RESOURCES})
    get_filename_component(item "${item}" ABSOLUTE)
    if(IS_DIRECTORY "${item}")
      list(APPEND res_dirs "${item}")
    elseif(EXISTS "${item}")
      list(APPEND res_files "${item}")
    else()
      message(FATAL_ERROR "kz_add_game(${target}): no resource ${item}")
    endif()
  endforeach()

  if(WIN32)
    # A desktop program: SDL's own WinMain starts it and calls main(), which
    # SDL's header renames SDL_main. The C++ and GCC runtimes go inside it.
    add_executable(${target} WIN32 ${GAME_SOURCES})
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  else()
    add_executable(${target} ${GAME_SOURCES})
  endif()
  target_link_libraries(${target} PRIVATE KZ::framework)

  if(EMSCRIPTEN)
    # The page: the program, its files packed into <target>.data, the page
    # around it and the bundled licences.
    set(page ${CMAKE_CURRENT_BINARY_DIR}/page)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page})
    set(depends "")
    foreach(dir ${res_dirs})
      target_link_options(${target} PRIVATE "SHELL:--preload-file ${dir}@res")
      file(GLOB_RECURSE inside "${dir}/*")
      list(APPEND depends ${inside})
    endforeach()
    foreach(file ${res_files})
      get_filename_component(name "${file}" NAME)
      target_link_options(${target} PRIVATE "SHELL:--preload-file ${file}@res/${name}")
      list(APPEND depends ${file})
    endforeach()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${depends})
    if(GAME_PAGE)
      file(READ ${GAME_PAGE} html)
    else()
      file(READ ${templates}/index.html html)
      # The demo's page, with the game's own line under the picture in place
      # of the demo's help.
      string(FIND "${html}" "<div id=\"help\">" help_at)
      if(help_at GREATER -1)
        string(SUBSTRING "${html}" ${help_at} -1 rest)
        string(FIND "${rest}" "</div>" help_end)
        math(EXPR after "${help_at} + ${help_end} + 6")
        string(SUBSTRING "${html}" 0 ${help_at} before)
        string(SUBSTRING "${html}" ${after} -1 rest)
        set(html "${before}<div id=\"help\"><p>${GAME_COMMENT}</p></div>${rest}")
      endif()
    endif()
    string(REPLACE "<title>Demo</title>" "<title>${GAME_NAME}</title>" html "${html}")
    string(REPLACE "src=\"Demo.js\"" "src=\"${target}.js\"" html "${html}")
    if(NOT html MATCHES "src=\"${target}\\.js\"")
      message(FATAL_ERROR "kz_add_game(${target}): ${templates}/index.html does not load Demo.js")
    endif()
    file(GENERATE OUTPUT ${page}/index.html CONTENT "${html}")
    foreach(file ${GAME_LICENSES})
      get_filename_component(name "${file}" NAME)
      configure_file(${file} ${page}/${name} COPYONLY)
    endforeach()
    return()
  endif()

  # Playable from the build folder: res/ beside the program.
  set(copies "")
  foreach(dir ${res_dirs})
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_directory ${dir}
      ${CMAKE_CURRENT_BINARY_DIR}/res)
  endforeach()
  if(res_files)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${res_files} ${CMAKE_CURRENT_BINARY_DIR}/res/)
  endif()
  add_custom_target(${target}-res ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/res ${copies}
    COMMENT "Copying ${target}'s res/ into the build folder")
  add_dependencies(${target} ${target}-res)

  if(WIN32)
    install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT game)
    kz_windows_runtime(game)
    foreach(dir ${res_dirs})
      install(DIRECTORY ${dir}/ DESTINATION res COMPONENT game)
    endforeach()
    if(res_files)
      install(FILES ${res_files} DESTINATION res COMPONENT game)
    endif()
    if(GAME_README)
      install(FILES ${GAME_README} DESTINATION . COMPONENT game)
    else()
      string(REGEX REPLACE "." "=" KZ_GAME_UNDERLINE "${GAME_NAME}")
      configure_file(${templates}/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/${target}-README.txt
        @ONLY)
      install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${target}-README.txt DESTINATION .
        RENAME README.txt COMPONENT game)
    endif()
    # Licences: the game's, each bundled library's, and the compiler's
    # runtime (the C++ and GCC runtimes inside the program, the threads DLL).
    if(GAME_LICENSE)
      install(FILES ${GAME_LICENSE} DESTINATION licenses/${id} RENAME LICENSE.txt COMPONENT game)
    endif()
    if(GAME_LICENSES)
      install(FILES ${GAME_LICENSES} DESTINATION licenses COMPONENT game)
    endif()
    # The zip: the folder <target>/ as installed, packed.
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/${target}-zip)
    add_custom_target(${target}-zip
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${CMAKE_CURRENT_BINARY_DIR}/${target}-windows-x64.zip
      COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --component game
              --prefix ${stage}/${target}
      COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf
              ${CMAKE_CURRENT_BINARY_DIR}/${target}-windows-x64.zip --format=zip ${target}
      DEPENDS ${target}
      COMMENT "Packing ${target}-windows-x64.zip")
    return()
  endif()

  # Linux: the program in libexec, res/ in its data folder, a launcher in bin
  # that runs the program from there (it reads res/ relative to its working
  # directory), the menu entry, the icons and the licences.
  include(GNUInstallDirs)
  set(KZ_GAME_DATADIR ${CMAKE_INSTALL_DATADIR}/${id})
  set(KZ_GAME_LIBEXECDIR ${CMAKE_INSTALL_LIBEXECDIR}/${id})
  install(TARGETS ${target} DESTINATION ${KZ_GAME_LIBEXECDIR} COMPONENT game)
  foreach(dir ${res_dirs})
    install(DIRECTORY ${dir}/ DESTINATION ${KZ_GAME_DATADIR}/res COMPONENT game)
  endforeach()
  if(res_files)
    install(FILES ${res_files} DESTINATION ${KZ_GAME_DATADIR}/res COMPONENT game)
  endif()
  configure_file(${templates}/launcher.in ${CMAKE_CURRENT_BINARY_DIR}/${id}-launcher @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/${id}-launcher DESTINATION ${CMAKE_INSTALL_BINDIR}
    RENAME ${id} COMPONENT game)
  if(GAME_DESKTOP)
    install(FILES ${GAME_DESKTOP} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
      RENAME ${id}.desktop COMPONENT game)
  else()
    configure_file(${templates}/game.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/${id}.desktop @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${id}.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
  endif()
  foreach(icon ${GAME_ICON})
    if(icon MATCHES "\\.svg$")
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${id}.svg COMPONENT game)
    else()
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME ${id}.png COMPONENT game)
    endif()
  endforeach()
  if(GAME_LICENSE)
    install(FILES ${GAME_LICENSE} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${id} RENAME copyright
      COMPONENT game)
  endif()
  if(GAME_LICENSES)
    install(FILES ${GAME_LICENSES} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${id} COMPONENT game)
  endif()

  # The Debian package, from the top project only: `cpack` writes
  # <id>_<version>_<arch>.deb, the game component under /usr. CPACK_*
  # variables set before the call win over these.
  if(CMAKE_CURRENT_SOURCE_DIR STREQUAL CMAKE_SOURCE_DIR)
    foreach(setting
        "CPACK_GENERATOR;DEB" "CPACK_PACKAGE_NAME;${id}" "CPACK_PACKAGE_VERSION;${GAME_VERSION}"
        "CPACK_PACKAGE_VENDOR;The ${GAME_NAME} authors"
        "CPACK_PACKAGE_CONTACT;The ${GAME_NAME} authors"
        "CPACK_PACKAGE_DESCRIPTION_SUMMARY;${GAME_COMMENT}"
        "CPACK_PACKAGING_INSTALL_PREFIX;/usr" "CPACK_DEB_COMPONENT_INSTALL;ON"
        "CPACK_COMPONENTS_ALL;game" "CPACK_COMPONENTS_GROUPING;ALL_COMPONENTS_IN_ONE"
        "CPACK_DEBIAN_FILE_NAME;DEB-DEFAULT" "CPACK_DEBIAN_PACKAGE_SECTION;games"
        "CPACK_STRIP_FILES;ON")
      list(GET setting 0 name)
      list(GET setting 1 value)
      if(NOT DEFINED ${name})
        set(${name} "${value}")
      endif()
    endforeach()
    if(NOT DEFINED CPACK_DEBIAN_PACKAGE_DEPENDS)
      set(CPACK_DEBIAN_PACKAGE_DEPENDS "${KZ_GAME_DEBIAN_DEPENDS}")
    endif()
    include(CPack)
  endif()
endfunction()
