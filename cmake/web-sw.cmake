# Writes the page's service worker (web/sw.js) with the fingerprint of the
# build's files, so a new build is a new worker and replaces the old files.
#   cmake -DSOURCE=web/sw.js -DPAGE=<page folder> -P cmake/web-sw.cmake
# Run after every link of the page (cmake/web.cmake).
set(files index.html Demo.js Demo.wasm Demo.data manifest.webmanifest icon-192.png icon-512.png
  Vera-COPYRIGHT.txt)
set(fingerprint "")
set(quoted "\"./\"")
foreach(file ${files})
  file(SHA256 ${PAGE}/${file} sum)
  string(APPEND fingerprint ${sum})
  string(APPEND quoted ", \"${file}\"")
endforeach()
string(SHA256 fingerprint "${fingerprint}")
string(SUBSTRING ${fingerprint} 0 16 DEMO_BUILD)
set(DEMO_FILES ${quoted})
configure_file(${SOURCE} ${PAGE}/sw.js @ONLY)
