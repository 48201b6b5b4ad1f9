# Run by `cmake --install`: the pkg-config files of the libraries installed
# with the SDK say prefix=<the folder they were built in>; they are made to
# name their own place instead (pkg-config's ${pcfiledir}), so the SDK works
# wherever it is installed or moved.
file(GLOB pcs "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${KZ_PKGCONFIG_DIR}/*.pc")
foreach(pc ${pcs})
  file(READ "${pc}" text)
  string(REGEX REPLACE "(^|\n)prefix=[^\n]*" "\\1prefix=\${pcfiledir}/../.." text "${text}")
  file(WRITE "${pc}" "${text}")
endforeach()
