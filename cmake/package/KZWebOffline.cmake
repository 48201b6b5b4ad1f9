# Writes a page's service worker (templates/sw.js) with the fingerprint of the
# build's files, so a new build is a new worker and replaces the old files.
# Run on every build of a page that plays offline (kz_web_offline() in
# KZGame.cmake):
#
#   cmake -DSOURCE=<sw.js template> -DPAGE=<page folder> -DCACHE=<cache name>
#         -DKEPT=<files,...> -DHASHED=<files,...> -P KZWebOffline.cmake
#
# KEPT are the files the game needs to start without a network; HASHED,
# files that are not kept (a large icon, for installing, which needs the
# network anyway) but whose change is a new build all the same.
string(REPLACE "," ";" kept "${KEPT}")
string(REPLACE "," ";" hashed "${HASHED}")
set(fingerprint "")
set(KZ_SW_FILES "\"./\"")
foreach(file ${kept} ${hashed})
  file(SHA256 ${PAGE}/${file} sum)
  string(APPEND fingerprint ${sum})
endforeach()
foreach(file ${kept})
  string(APPEND KZ_SW_FILES ", \"${file}\"")
endforeach()
string(SHA256 fingerprint "${fingerprint}")
string(SUBSTRING ${fingerprint} 0 16 KZ_SW_BUILD)
set(KZ_SW_CACHE "${CACHE}")
configure_file(${SOURCE} ${PAGE}/sw.js @ONLY)
