# The demo's own words on the SDK's page (cmake/package/templates/index.html):
# Spanish and English side by side, the help for its menu and verbs, and the
# app manifest, icons and offline play of web/ (cmake/helpers/web.cmake).
set(KZ_PAGE_LANGUAGE es)
set(KZ_PAGE_LINKS [=[<link rel="manifest" href="manifest.webmanifest">
<link rel="icon" href="icon-192.png">
<link rel="apple-touch-icon" href="icon-192.png">
]=])
set(KZ_PAGE_LOADING "Cargando… / Loading…")
set(KZ_PAGE_FULL_SCREEN "Pantalla completa / Full screen")
set(KZ_PAGE_LEAVE_FULL_SCREEN "Salir de pantalla completa / Leave full screen")
set(KZ_PAGE_UPDATE [=[<span lang="es">Hay una versión nueva: recarga la página para jugarla.</span>
      <span lang="en">A new version is ready: reload the page to play it.</span>]=])
set(KZ_PAGE_TURN [=[<span lang="es">Gira el teléfono para ver la imagen más grande.</span>
      <span lang="en">Turn your phone for a larger picture.</span>]=])
# (A bracket argument drops a newline that opens it: the help starts with one.)
string(CONCAT KZ_PAGE_HELP "\n" [=[      <p lang="es"><span class="mouse">Haz clic en «Empezar»; haz clic para pasar cada línea del diálogo, señala las cosas para ver su nombre y haz clic en ellas para investigarlas.</span><span class="finger">Toca «Empezar»; toca para pasar cada línea del diálogo y toca las cosas para ver su nombre e investigarlas (o desliza el dedo sobre ellas para ver solo el nombre).</span></p>
      <p lang="en"><span class="mouse">Click “Empezar”; click to go on after each line of dialogue, point at things to see their names and click them to investigate.</span><span class="finger">Tap “Empezar”; tap to go on after each line of dialogue, and tap things to see their names and investigate them (or slide a finger over them to see just the name).</span></p>
    ]=])
set(KZ_PAGE_OUTPUT "Salida del juego / Game output")
set(KZ_PAGE_LICENCES [=[      <p><a href="Vera-COPYRIGHT.txt">Bitstream Vera</a></p>
]=])
set(KZ_PAGE_NO_OFFLINE [=[!("serviceWorker" in navigator)]=])
set(KZ_PAGE_EXIT demo-exit)
set(KZ_PAGE_STARTED "Starting Demo")
set(KZ_PAGE_ENDED [=[        console.info("demo-exit 0"); // a game that ends itself (SCommandEnd)
]=])
set(KZ_PAGE_SCRIPT "")
