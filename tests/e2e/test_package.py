"""The installed KZ package as CMake users expect it, tried by configuring
small consumer projects against the SDK installed into an empty prefix:

- found: the targets, a version of 1.1, nothing set in the consumer's scope
  but KZ_* variables;
- a consumer's own PkgConfig::SDL (standing for SDL 2 here: another library
  under that name) and its SDL_* variables are left alone, and the engine
  still links SDL 1.2 through the package's KZ::system;
- without SDL's pkg-config files: QUIET gives KZ_FOUND false with the reason
  and no error, REQUIRED stops with that reason;
- the version file: 1.0 and 1.1 are answered, 1.2 and 2.0 are not;
- the templates games are made from know no game: the page, the read-me and
  the menu entry hold none of the demo's words, and the SDK's own icon and
  Bitstream Vera's licence are there for games that bring none.
"""

import os
import subprocess
import tempfile

import harness as h

CONSUMER = """cmake_minimum_required(VERSION 3.18)
project(Consumer CXX)
%(before)s
get_cmake_property(before VARIABLES)
find_package(KZ %(request)s)
get_cmake_property(after VARIABLES)
set(leaked "")
foreach(name ${after})
  if(NOT name IN_LIST before AND NOT name MATCHES "^KZ_" AND NOT name STREQUAL "before"
     AND NOT DEFINED CACHE{${name}})
    list(APPEND leaked ${name})
  endif()
endforeach()
message(STATUS "found=${KZ_FOUND} version=${KZ_VERSION} leaked=${leaked}")
message(STATUS "why=${KZ_NOT_FOUND_MESSAGE}")
%(after)s
"""

# A consumer that already has a PkgConfig::SDL of its own (SDL 2 in real life).
OWN_SDL = """find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET freetype2)
set(mine "${SDL_LIBRARIES}")"""
CHECK_OWN_SDL = """get_target_property(system KZ::system INTERFACE_LINK_LIBRARIES)
get_target_property(engine KZ::engine INTERFACE_LINK_LIBRARIES)
get_target_property(own PkgConfig::SDL INTERFACE_LINK_LIBRARIES)
message(STATUS "system=${system}")
message(STATUS "engine=${engine}")
message(STATUS "own=${own} mine=${mine} now=${SDL_LIBRARIES}")
add_executable(uses main.cpp)
target_link_libraries(uses PRIVATE KZ::framework)"""
MAIN = """#include "KZ/Sprite.h"
#include <SDL/SDL.h>
int main(int, char*[]) {
    KZ_Sprite* sprite = nullptr;
    return sprite == nullptr && SDL_WasInit(0) == 0 ? 0 : 1;
}
"""


def configure(work, name, prefix, request, before="", after="", env=None, build=False):
    source = os.path.join(work, name)
    os.makedirs(source)
    with open(os.path.join(source, "CMakeLists.txt"), "w") as f:
        f.write(CONSUMER % {"before": before, "request": request, "after": after})
    with open(os.path.join(source, "main.cpp"), "w") as f:
        f.write(MAIN)
    result = subprocess.run(["cmake", "-S", source, "-B", os.path.join(work, name + "-build"),
                             "-DCMAKE_PREFIX_PATH=" + prefix], capture_output=True, text=True,
                            timeout=300, env=dict(os.environ, **(env or {})))
    status = {}
    for line in result.stdout.splitlines():
        if line.startswith("-- ") and "=" in line:
            for field in line[3:].split(" ") if not line.startswith("-- why=") else [line[3:]]:
                key, _, value = field.partition("=")
                status[key] = value
    if build and result.returncode == 0:
        made = subprocess.run(["cmake", "--build", os.path.join(work, name + "-build")],
                              capture_output=True, text=True, timeout=300)
        h.check(made.returncode == 0, "%s: the build failed: %s" % (name, made.stdout[-2000:]))
    return result, status


def test(args):
    with tempfile.TemporaryDirectory() as work:
        prefix = os.path.join(work, "prefix")
        result = subprocess.run(["cmake", "--install", os.path.dirname(args.binary), "--prefix", prefix,
                                 "--component", "sdk"], capture_output=True, text=True, timeout=120)
        h.check(result.returncode == 0, "install failed: %s" % result.stderr)

        templates = os.path.join(prefix, "lib", "cmake", "KZ", "game")
        for name in ("index.html", "README.txt.in", "game.desktop.in", "manifest.webmanifest.in", "sw.js"):
            text = open(os.path.join(templates, name), encoding="utf-8").read()
            h.check(not any(word in text for word in ("Demo", "Empezar", "Cargando", 'lang="es"')),
                    "the SDK's %s knows the demo" % name)
        for name in ("icon.png", "icon.svg", "Vera-COPYRIGHT.txt"):
            h.check(os.path.exists(os.path.join(templates, name)), "the SDK lacks its " + name)

        result, status = configure(work, "found", prefix, "1.0 REQUIRED")
        h.check(result.returncode == 0 and status.get("found") == "1" and status.get("version") == "1.1",
                "found: %r %s" % (status, result.stderr[-1500:]))
        h.check(status.get("leaked") == "", "variables left in the consumer: %s" % status.get("leaked"))

        result, status = configure(work, "own-sdl", prefix, "REQUIRED", OWN_SDL, CHECK_OWN_SDL,
                                   build=True)
        h.check(result.returncode == 0, "with its own PkgConfig::SDL: %s" % result.stderr[-1500:])
        h.check("libSDL" in status.get("system", "") and "freetype" not in status.get("system", ""),
                "KZ::system links %r" % status.get("system"))
        h.check("KZ::system" in status.get("engine", "") and "PkgConfig" not in status.get("engine", ""),
                "KZ::engine links %r" % status.get("engine"))
        h.check("freetype" in status.get("own", "") and status.get("mine") == status.get("now"),
                "the consumer's own SDL target or variables changed: %r" % status)
        h.check(status.get("leaked") == "", "variables left in the consumer: %s" % status.get("leaked"))

        # No pkg-config file of SDL anywhere.
        nowhere = {"PKG_CONFIG_LIBDIR": os.path.join(work, "empty"), "PKG_CONFIG_PATH": ""}
        result, status = configure(work, "quiet", prefix, "QUIET", env=nowhere)
        h.check(result.returncode == 0 and status.get("found") in ("0", "FALSE")
                and "SDL 1.2" in status.get("why", "") and "CMake Error" not in result.stderr,
                "QUIET without SDL: status %r, %r, %s" % (result.returncode, status, result.stderr[-1500:]))
        h.check(status.get("leaked") == "", "variables left in the consumer: %s" % status.get("leaked"))
        result, status = configure(work, "required", prefix, "REQUIRED", env=nowhere)
        h.check(result.returncode != 0 and "SDL 1.2" in result.stderr,
                "REQUIRED without SDL: status %r, %s" % (result.returncode, result.stderr[-1500:]))

        for request, found in (("1.1", "1"), ("1.2 QUIET", "0"), ("2.0 QUIET", "0")):
            result, status = configure(work, "version-" + request.split()[0], prefix, request)
            h.check(result.returncode == 0 and status.get("found", "0") in ((found,) if found == "1" else ("0", "", "FALSE")),
                    "find_package(KZ %s): %r %s" % (request, status, result.stderr[-800:]))


if __name__ == "__main__":
    h.run(test)
