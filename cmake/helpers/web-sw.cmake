# Writes the page's service worker (web/sw.js) with the fingerprint of the
# build's files, so a new build is a new worker and replaces the old files.
#   cmake -DSOURCE=web/sw.js -DPAGE=<page folder> -P cmake/helpers/web-sw.cmake
# Run on every build of the page (cmake/helpers/web.cmake).

# What the game needs to start without a network; the large icon is only for
# installing, which needs the network anyway.
set(kept index.html Demo.js Demo.wasm Demo.data manifest.webmanifest icon-192.png Vera-COPYRIGHT.txt)
set(fingerprint "")
set(DEMO_FILES "\"./\"")
foreach(file ${kept} icon-512.png)
  file(SHA256 ${PAGE}/${file} sum)
  string(APPEND fingerprint ${sum})
endforeach()
foreach(file ${kept})
  string(APPEND DEMO_FILES ", \"${file}\"")
endforeach()
string(SHA256 fingerprint "${fingerprint}")
string(SUBSTRING ${fingerprint} 0 16 DEMO_BUILD)
configure_file(${SOURCE} ${PAGE}/sw.js @ONLY)
