# The script player's page: the demo's page (the SDK's page in the demo's
# words, web/page.cmake, made by kz_add_game(Demo) before this), which fits any
# screen, takes touch, goes full screen and keeps a frozen game painting,
# made to play any game (web/player.js) and to load kz.js. Everything the
# demo's page does, this page does too, because it is that page.
#   kz_player_page(<output index.html>)
function(kz_player_page output)
  # Made again whenever either file changes.
  set(demo_page ${CMAKE_BINARY_DIR}/page/index.html)
  if(NOT EXISTS ${demo_page})
    message(FATAL_ERROR "no ${demo_page}: the player's page is made from the demo's")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/player.js)
  file(READ ${demo_page} html)
  file(READ ${CMAKE_SOURCE_DIR}/web/player.js player)
  set(open "<div id=\"tools\">
      <button id=\"open\" type=\"button\" hidden>Abrir un juego / Open a game</button>
      <input id=\"file\" type=\"file\" accept=\".zip,application/zip\" hidden>")
  # Each change must find its place: a page that has moved on fails here.
  macro(change from to)
    string(FIND "${html}" "${from}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the demo's page has no ${from}: the player's page cannot be made from it")
    endif()
    string(REPLACE "${from}" "${to}" html "${html}")
  endmacro()
  change("<title>Demo</title>" "<title>kz</title>")
  change("href=\"icon-192.png\"" "href=\"icon.png\"")
  change("<div id=\"tools\">" "${open}")
  change("href=\"Vera-COPYRIGHT.txt\">Bitstream Vera<" "href=\"licenses/\">Licencias / Licences<")
  change("lines.indexOf(\"Starting Demo\")" "lines.findIndex((line) => line.startsWith(\"Starting \"))")
  change("<script async src=\"Demo.js\"></script>"
    "<script>\n${player}</script>\n<script async src=\"kz.js\"></script>")
  # The demo's help is the demo's: the player's page has none of its own.
  string(REGEX REPLACE "<div id=\"help\">.*</div>\n    <details" "<div id=\"help\"></div>\n    <details"
    html "${html}")
  file(WRITE ${output} "${html}")
endfunction()
