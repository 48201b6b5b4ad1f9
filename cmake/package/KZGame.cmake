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
#            (res/ packed inside), an icon and the bundled licences, for any
#            static web server; the page speaks the game's LANGUAGE.
#
# <id> is the target's name in lower case. Everything is installed as the
# component "game". Without a build type of the game's own, the build is
# optimised: Release, or MinSizeRel on the web, where the page is also linked
# for size as the demo's is (kz_web_size_options() in KZSystem.cmake).
# The window's title is NAME unless the game sets its own.
#
#   kz_add_game(<target>
#     SOURCES <file>...          the game's sources, main.cpp among them
#     RESOURCES <dir|file>...    what goes into res/: a folder's contents, or a file
#     [NAME <text>]              the game's name for people (default: <target>)
#     [COMMENT <text>]           one line on what it is, for the menu and read-me
#     [LANGUAGE <tag>]           the language of its texts: en (default), es, fr, de, it, pt
#     [VERSION <x.y.z>]          the package's version (default: the project's, or 1.0.0)
#     [ICON <png|svg>...]        icons (a 256 x 256 PNG, an SVG; default: the SDK's)
#     [DESKTOP <file>]           a menu entry of your own instead of the made one
#     [README <file>]            the Windows read-me instead of the made README.txt
#     [PAGE <file>]              the web page instead of the made one (it loads <target>.js)
#     [MANIFEST]                 the page is an installable app (a manifest from NAME and ICON)
#     [OFFLINE]                  the page plays offline once opened (a service worker)
#     [LICENSE <file>]           the game's licence
#     [LICENSES <file>...])      licences of what it bundles (a font's, ...)
#
# Every font among the resources, and every file taken from outside the
# project's folders, needs a licence in LICENSES whose name begins as its own
# does up to the first "-" (Vera-COPYRIGHT.txt names Vera.ttf and VeraBd.ttf);
# configuring stops at one without. Bitstream Vera's comes with the SDK and is
# added by itself.
#
# The made page's words and parts are KZ_PAGE_* variables (see
# _kz_page_words below); one set before the call takes their place.
#
# The target links KZ::framework; link more to it as to any executable.

# What a game's Debian package needs from the system: SDL 1.2 is the SDL 2
# based sdl12-compat the engine is tested against, or the classic library;
# libGL, which SDL opens itself, brings the system's OpenGL driver.
set(KZ_GAME_DEBIAN_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1, \
libsdl1.2-compat | libsdl1.2debian (>= 1.2.15), libsdl-image1.2 (>= 1.2.10), libsdl-ttf2.0-0, \
libgl1, libopengl0, libglu1-mesa | libglu1")

# Where the SDK's own files are: `prefix` holds, for Windows, the DLLs (bin/)
# and the libraries' licences (share/licenses/); `templates` the files below.
# Called once by the package (or by the engine's own build).
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

# Where this file is, for the scripts beside it.
set_property(GLOBAL PROPERTY KZ_GAME_MODULE_DIR "${CMAKE_CURRENT_LIST_DIR}")

# `text` made safe inside HTML (and inside a double-quoted attribute).
function(_kz_html var text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# `text` made safe inside a double-quoted C++, JavaScript or JSON string.
function(_kz_quoted var text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# The page's own words in `language` (its first part: "en" of "en-GB"), in
# the variables KZ_WORD_*: loading, full screen and leaving it, the game's
# output, a new version, turning a phone, the end of the game, playing again.
set_property(GLOBAL PROPERTY KZ_PAGE_LANGUAGES en es fr de it pt)
function(_kz_page_words target language)
  get_property(KZ_PAGE_LANGUAGES GLOBAL PROPERTY KZ_PAGE_LANGUAGES)
  string(REGEX REPLACE "[-_].*" "" primary "${language}")
  string(TOLOWER "${primary}" primary)
  set(en "Loading…" "Full screen" "Leave full screen" "Game output"
    "A new version is ready: reload the page to play it." "Turn your phone for a larger picture."
    "The game has ended." "Play again")
  set(es "Cargando…" "Pantalla completa" "Salir de pantalla completa" "Salida del juego"
    "Hay una versión nueva: recarga la página para jugarla."
    "Gira el teléfono para ver la imagen más grande." "El juego ha terminado." "Jugar otra vez")
  set(fr "Chargement…" "Plein écran" "Quitter le plein écran" "Sortie du jeu"
    "Une nouvelle version est prête : rechargez la page pour y jouer."
    "Tournez le téléphone pour une image plus grande." "La partie est terminée." "Rejouer")
  set(de "Wird geladen…" "Vollbild" "Vollbild beenden" "Ausgabe des Spiels"
    "Eine neue Version ist bereit: Lade die Seite neu, um sie zu spielen."
    "Dreh das Telefon für ein größeres Bild." "Das Spiel ist zu Ende." "Noch einmal spielen")
  set(it "Caricamento…" "Schermo intero" "Esci da schermo intero" "Output del gioco"
    "È pronta una nuova versione: ricarica la pagina per giocarla."
    "Ruota il telefono per un'immagine più grande." "La partita è finita." "Gioca ancora")
  set(pt "Carregando…" "Tela cheia" "Sair da tela cheia" "Saída do jogo"
    "Há uma nova versão: recarregue a página para jogá-la."
    "Gire o telefone para ver a imagem maior." "O jogo terminou." "Jogar de novo")
  if(NOT primary IN_LIST KZ_PAGE_LANGUAGES)
    message(FATAL_ERROR "kz_add_game(${target}): the page has no words in LANGUAGE ${language}; "
      "it has them in en, es, fr, de, it and pt (or give a PAGE of your own)")
  endif()
  set(i 0)
  foreach(word LOADING FULL_SCREEN LEAVE_FULL_SCREEN OUTPUT UPDATE TURN ENDED AGAIN)
    list(GET ${primary} ${i} text)
    set(KZ_WORD_${word} "${text}" PARENT_SCOPE)
    math(EXPR i "${i} + 1")
  endforeach()
endfunction()

# The width and height of a PNG file, from its header, as "<w>x<h>".
function(_kz_png_size var png)
  file(READ "${png}" header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${var} "${w}x${h}" PARENT_SCOPE)
endfunction()

# Writes <page>/sw.js after every build of `target`: a service worker that
# keeps the files `kept` in a cache called <cache>-<fingerprint>, where the
# fingerprint is that of `kept` and `hashed`, so the page starts again
# without a network and a new build replaces the old files.
function(kz_web_offline target page cache kept hashed)
  get_property(dir GLOBAL PROPERTY KZ_GAME_MODULE_DIR)
  get_property(templates GLOBAL PROPERTY KZ_GAME_TEMPLATES)
  string(REPLACE ";" "," kept "${kept}")
  string(REPLACE ";" "," hashed "${hashed}")
  add_custom_target(${target}_offline ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${templates}/sw.js -DPAGE=${page} -DCACHE=${cache}
      -DKEPT=${kept} -DHASHED=${hashed} -P ${dir}/KZWebOffline.cmake
    COMMENT "The page's service worker" VERBATIM)
  add_dependencies(${target}_offline ${target})
endfunction()

# Every font among the resources, and every resource from outside the
# project's source and build folders, must have its licence shipped: a file
# of `licences`, or a licence among the resources, named as it is up to the
# first "-". Bitstream Vera's is the SDK's own: it is added to `var` (the
# game's LICENSES) when no licence names the font yet.
function(_kz_check_licences target var templates)
  set(licences ${${var}})
  set(files ${ARGN})
  set(names "")
  foreach(file ${licences} ${files})
    get_filename_component(name "${file}" NAME)
    string(TOLOWER "${name}" name)
    if(name MATCHES "(copyright|licen[cs]e|copying)")
      string(REGEX REPLACE "[-.].*" "" stem "${name}")
      list(APPEND names "${stem}")
    endif()
  endforeach()
  foreach(file ${files})
    get_filename_component(name "${file}" NAME)
    string(TOLOWER "${name}" lower)
    if(lower MATCHES "(copyright|licen[cs]e|copying)")
      continue()
    endif()
    set(font FALSE)
    if(lower MATCHES "\\.(ttf|otf|ttc|pfa|pfb|woff2?|fon|fnt|pcf|bdf)$")
      set(font TRUE)
    endif()
    string(FIND "${file}" "${CMAKE_SOURCE_DIR}/" in_source)
    string(FIND "${file}" "${CMAKE_BINARY_DIR}/" in_build)
    if(NOT font AND (in_source EQUAL 0 OR in_build EQUAL 0))
      continue()
    endif()
    set(named FALSE)
    foreach(stem ${names})
      string(FIND "${lower}" "${stem}" at)
      if(at EQUAL 0 AND NOT stem STREQUAL "")
        set(named TRUE)
      endif()
    endforeach()
    if(named)
      continue()
    endif()
    if(font)
      # Its PostScript name, which no modified font may keep.
      file(STRINGS "${file}" vera REGEX "BitstreamVera" LIMIT_COUNT 1)
      if(vera)
        list(APPEND licences "${templates}/Vera-COPYRIGHT.txt")
        list(APPEND names vera)
        continue()
      endif()
      set(what "a font")
    else()
      set(what "from outside the project's folder")
    endif()
    string(REGEX REPLACE "\\.[^.]*$" "" stem "${name}")
    message(FATAL_ERROR "kz_add_game(${target}): ${file} is ${what}, so its licence must ship "
      "with it: add the licence to LICENSES under a name that begins with the file's, such as "
      "${stem}-LICENSE.txt")
  endforeach()
  set(${var} "${licences}" PARENT_SCOPE)
endfunction()

# KZ_PAGE_<key> is `value` unless it was set before.
function(_kz_page_default key value)
  if(NOT DEFINED KZ_PAGE_${key})
    set(KZ_PAGE_${key} "${value}" PARENT_SCOPE)
  endif()
endfunction()

# The SDK's page for `target` in `page`, from templates/index.html: the
# game's language, name and comment, its icon, its licences, and the
# manifest and offline play when the game asks for them. Reads the caller's
# GAME_* and any KZ_PAGE_* set before kz_add_game().
macro(_kz_page target page templates)
  _kz_page_words(${target} "${GAME_LANGUAGE}")
  _kz_html(name_html "${GAME_NAME}")
  _kz_html(comment_html "${GAME_COMMENT}")
  # The icons: the PNG beside the page, for its tab and the manifest, the SVG
  # for the manifest. A page with links of its own brings its own icons.
  set(kept index.html ${target}.js ${target}.wasm ${target}.data)
  set(icons "")
  set(page_icon "")
  set(page_icons "")
  if(NOT DEFINED KZ_PAGE_LINKS)
    set(page_icons ${GAME_ICON})
  endif()
  foreach(icon ${page_icons})
    if(icon MATCHES "\\.svg$")
      if(NOT GAME_MANIFEST)
        continue()
      endif()
      configure_file(${icon} ${page}/icon.svg COPYONLY)
      list(APPEND icons "{ \"src\": \"icon.svg\", \"sizes\": \"any\", \"type\": \"image/svg+xml\", \"purpose\": \"any\" }")
      list(APPEND kept icon.svg)
    else()
      configure_file(${icon} ${page}/icon.png COPYONLY)
      _kz_png_size(size ${icon})
      list(APPEND icons "{ \"src\": \"icon.png\", \"sizes\": \"${size}\", \"type\": \"image/png\", \"purpose\": \"any\" }")
      set(page_icon icon.png)
      list(APPEND kept icon.png)
    endif()
  endforeach()
  if(NOT DEFINED KZ_PAGE_LINKS)
    set(KZ_PAGE_LINKS "")
    if(GAME_MANIFEST)
      string(APPEND KZ_PAGE_LINKS "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n")
    endif()
    if(page_icon)
      string(APPEND KZ_PAGE_LINKS "<link rel=\"icon\" href=\"${page_icon}\">\n"
        "<link rel=\"apple-touch-icon\" href=\"${page_icon}\">\n")
    else()
      # No icon: nothing for the browser to ask for either.
      string(APPEND KZ_PAGE_LINKS "<link rel=\"icon\" href=\"data:,\">\n")
    endif()
  endif()
  if(GAME_MANIFEST AND page_icons)
    _kz_quoted(KZ_MANIFEST_NAME "${GAME_NAME}")
    _kz_quoted(KZ_MANIFEST_COMMENT "${GAME_COMMENT}")
    _kz_quoted(KZ_MANIFEST_LANGUAGE "${GAME_LANGUAGE}")
    string(REPLACE ";" ",\n    " KZ_MANIFEST_ICONS "${icons}")
    configure_file(${templates}/manifest.webmanifest.in ${page}/manifest.webmanifest @ONLY)
    list(APPEND kept manifest.webmanifest)
  endif()
  set(licence_links "")
  foreach(file ${GAME_LICENSES})
    get_filename_component(name "${file}" NAME)
    _kz_html(name "${name}")
    string(APPEND licence_links "      <p><a href=\"${name}\">${name}</a></p>\n")
    list(APPEND kept "${name}")
  endforeach()
  _kz_page_default(LANGUAGE "${GAME_LANGUAGE}")
  _kz_page_default(TITLE "${name_html}")
  _kz_page_default(LOADING "${KZ_WORD_LOADING}")
  _kz_page_default(FULL_SCREEN "${KZ_WORD_FULL_SCREEN}")
  _kz_page_default(LEAVE_FULL_SCREEN "${KZ_WORD_LEAVE_FULL_SCREEN}")
  _kz_page_default(UPDATE "${KZ_WORD_UPDATE}")
  _kz_page_default(TURN "${KZ_WORD_TURN}")
  _kz_page_default(HELP "<p>${comment_html}</p>")
  _kz_page_default(OUTPUT "${KZ_WORD_OUTPUT}")
  _kz_page_default(LICENCES "${licence_links}")
  # What the page hears from the game: its first line, and how it ended.
  _kz_page_default(STARTED "Graphic initialization successful ")
  _kz_page_default(EXIT kz-exit)
  _kz_page_default(PROGRAM ${target})
  if(NOT DEFINED KZ_PAGE_NO_OFFLINE)
    if(GAME_OFFLINE)
      set(KZ_PAGE_NO_OFFLINE "!(\"serviceWorker\" in navigator)")
    else()
      # Made without offline play: no worker to register.
      set(KZ_PAGE_NO_OFFLINE "true")
    endif()
  endif()
  if(NOT DEFINED KZ_PAGE_ENDED)
    set(KZ_PAGE_ENDED "        console.info(\"kz-exit 0\"); // the game ended itself (SCommandEnd)\n        theEnd();\n")
  endif()
  if(NOT DEFINED KZ_PAGE_SCRIPT)
    _kz_quoted(ended "${KZ_WORD_ENDED}")
    _kz_quoted(again "${KZ_WORD_AGAIN}")
    set(KZ_PAGE_SCRIPT "  // The game ended itself: the last picture stays, dimmed, with a word
  // and a way to play again (the page, started afresh).
  function theEnd() {
    const words = document.createElement(\"p\");
    words.id = \"ended\";
    words.textContent = \"${ended}\";
    const again = document.createElement(\"button\");
    again.id = \"again\";
    again.type = \"button\";
    again.textContent = \"${again}\";
    again.style.cssText = \"font: inherit; color: #ddd; background: #222; border: 1px solid #444; \" +
      \"border-radius: 6px; padding: 6px 12px; cursor: pointer;\";
    again.addEventListener(\"click\", () => location.reload());
    loading.replaceChildren(words, again);
    loading.style.background = \"rgba(0, 0, 0, 0.6)\";
    loading.hidden = false;
  }

")
  endif()
  configure_file(${templates}/index.html ${page}/index.html @ONLY)
  if(GAME_OFFLINE)
    kz_web_offline(${target} ${page} ${KZ_GAME_ID} "${kept}" "")
  endif()
endmacro()

function(kz_add_game target)
  cmake_parse_arguments(PARSE_ARGV 1 GAME "MANIFEST;OFFLINE"
    "NAME;COMMENT;LANGUAGE;VERSION;DESKTOP;README;LICENSE;PAGE" "SOURCES;RESOURCES;ICON;LICENSES")
  if(NOT GAME_SOURCES)
    message(FATAL_ERROR "kz_add_game(${target}): no SOURCES")
  endif()
  if(NOT GAME_NAME)
    set(GAME_NAME ${target})
  endif()
  if(NOT GAME_COMMENT)
    set(GAME_COMMENT "A point-and-click game")
  endif()
  if(NOT GAME_LANGUAGE)
    set(GAME_LANGUAGE en)
  endif()
  # The page's words, checked on every system so that a language the page
  # lacks is known before the game ships to the web.
  if(NOT GAME_PAGE)
    _kz_page_words(${target} "${GAME_LANGUAGE}")
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

  # Optimised unless the game chose a build type itself.
  if(NOT CMAKE_CONFIGURATION_TYPES AND NOT CMAKE_BUILD_TYPE)
    if(EMSCRIPTEN)
      set(type MinSizeRel)
    else()
      set(type Release)
    endif()
    message(STATUS "kz_add_game(${target}): no build type chosen, building ${type}")
    set(CMAKE_BUILD_TYPE ${type} CACHE STRING "The build type (kz_add_game's default)" FORCE)
  endif()

  # Resources: folders give their contents, files themselves.
  set(res_dirs "")
  set(res_files "")
  set(every "")
  foreach(item ${GAME_RESOURCES})
    get_filename_component(item "${item}" ABSOLUTE)
    if(IS_DIRECTORY "${item}")
      list(APPEND res_dirs "${item}")
      file(GLOB_RECURSE inside "${item}/*")
      list(APPEND every ${inside})
    elseif(EXISTS "${item}")
      list(APPEND res_files "${item}")
      list(APPEND every "${item}")
    else()
      message(FATAL_ERROR "kz_add_game(${target}): no resource ${item}")
    endif()
  endforeach()
  _kz_check_licences(${target} GAME_LICENSES "${templates}" ${every})
  if(NOT GAME_ICON)
    set(GAME_ICON ${templates}/icon.png ${templates}/icon.svg)
  endif()

  if(WIN32)
    # A desktop program: SDL's own WinMain starts it and calls main(), which
    # SDL's header renames SDL_main. The C++ and GCC runtimes go inside it.
    add_executable(${target} WIN32 ${GAME_SOURCES})
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  else()
    add_executable(${target} ${GAME_SOURCES})
  endif()
  target_link_libraries(${target} PRIVATE KZ::framework)
  # The window's title: set before main() runs, so a game's own
  # SDL_WM_SetCaption still has the last word.
  _kz_quoted(title "${GAME_NAME}")
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}-title.cpp CONTENT
    "// Made by kz_add_game(): the window is titled with the game's NAME.\n#include \"KZ/Display.h\"\n\nnamespace {\nstruct Title {\n    Title() { KZ_Display::title = \"@title@\"; }\n} title;\n}\n" @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-title.cpp)

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
    # The default build is linked for size, as the demo's page is.
    kz_web_size_options(size main)
    target_link_options(${target} PRIVATE "$<$<CONFIG:MinSizeRel>:${size}>")
    foreach(file ${GAME_LICENSES})
      get_filename_component(name "${file}" NAME)
      configure_file(${file} ${page}/${name} COPYONLY)
    endforeach()
    if(GAME_PAGE)
      file(READ ${GAME_PAGE} html)
      if(NOT html MATCHES "src=\"${target}\\.js\"")
        message(FATAL_ERROR "kz_add_game(${target}): ${GAME_PAGE} does not load ${target}.js")
      endif()
      configure_file(${GAME_PAGE} ${page}/index.html COPYONLY)
      return()
    endif()
    _kz_page(${target} ${page} "${templates}")
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
    # A Debian package's name: lower-case letters, digits and "+-.", two
    # characters at least, beginning with a letter or digit.
    string(REGEX REPLACE "[^a-z0-9+.-]" "-" package "${id}")
    string(REGEX REPLACE "^[^a-z0-9]+" "" package "${package}")
    string(LENGTH "${package}" length)
    if(length LESS 2)
      set(package "${package}-game")
    endif()
    foreach(setting
        "CPACK_GENERATOR;DEB" "CPACK_PACKAGE_NAME;${package}" "CPACK_PACKAGE_VERSION;${GAME_VERSION}"
        "CPACK_PACKAGE_VENDOR;The authors of ${GAME_NAME}"
        "CPACK_PACKAGE_CONTACT;The authors of ${GAME_NAME}"
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
