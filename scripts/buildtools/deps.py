"""The recipe of scripts/deps: builds the C libraries the game links, for a
cross toolchain, from Debian 12's source packages, once, into the cache
(see scripts/deps for the prefix's layout and what the game's build does
with it). The last line on stdout is the prefix; progress goes to stderr;
the build's output goes to <prefix>.log."""

import fcntl
import os
import shlex
import shutil
import subprocess
import sys
import time

from buildtools import cache, sources
from buildtools.failures import StepFailed, Steps, check_call

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
JOBS = 2

# Debian 12's source packages and the upstream versions the Linux build
# links. The browser gets Emscripten's own SDL 1.2.
SOURCES = {
    "windows": [("zlib", "1.2.13"), ("libpng1.6", "1.6.39"), ("freetype", "2.12.1"), ("libsdl1.2", "1.2.15")],
    "web": [("zlib", "1.2.13"), ("libpng1.6", "1.6.39"), ("freetype", "2.12.1")],
}
TOOLCHAIN_PACKAGES = {
    "windows": ["gcc-mingw-w64-x86-64-posix", "mingw-w64-x86-64-dev", "binutils-mingw-w64-x86-64"],
    "web": ["emscripten"],
}
# Files whose content the build reads besides the sources: this recipe and
# the toolchain file (the base's key), and every file of compat/ but its
# README (the key). They all go into the key.
RECIPE = ["scripts/deps"] + ["scripts/buildtools/%s.py" % m for m in ("cache", "deps", "failures", "sources", "versions")]
TOOLCHAIN_FILES = {"windows": ["cmake/toolchains/mingw-w64.cmake"], "web": []}

# What the game's build relies on; a release that names things otherwise
# fails here rather than there.
MINIZIP = ["include/minizip/unzip.h", "include/minizip/zip.h", "lib/libminizip.a", "lib/pkgconfig/minizip.pc"]
EXPECTED = {
    "windows": ["include/SDL/SDL.h", "include/SDL/SDL_image.h", "include/SDL/SDL_ttf.h",
                "lib/pkgconfig/sdl.pc", "lib/pkgconfig/SDL_image.pc", "lib/pkgconfig/SDL_ttf.pc",
                "bin/SDL.dll", "bin/SDL_image.dll", "bin/SDL_ttf.dll", "lib/libSDLmain.a"] + MINIZIP,
    "web": ["lib/pkgconfig/sdl.pc", "lib/libSDL_image.a", "lib/libSDL_ttf.a", "lib/libSDL_wasm.a"] + MINIZIP,
}

SDL_PC = {
    # SDLmain turns WinMain into the program's main(); -mwindows makes a
    # program without a console window.
    "windows": ("-L${libdir} -lmingw32 -lSDLmain -lSDL -mwindows",
                "-I${includedir} -I${includedir}/SDL -Dmain=SDL_main"),
    "web": ("-L${libdir} -lSDL_wasm -sUSE_SDL=1",
            "-I${includedir} -I${includedir}/SDL -D_GNU_SOURCE=1 -D_REENTRANT -sUSE_SDL=1"),
}


def say(text):
    print(text, file=sys.stderr, flush=True)


def locked(path):
    """An open file holding an exclusive lock on `path` until it is closed."""
    handle = open(path, "w")
    fcntl.flock(handle, fcntl.LOCK_EX)
    return handle


def pc_file(name, version, prefix, toolchain, libs, cflags, requires=""):
    """A pkg-config file for a library in the prefix."""
    return (
        "prefix=%s\nexec_prefix=${prefix}\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\n\n"
        "Name: %s\nDescription: %s for %s, built by scripts/deps\nVersion: %s\nRequires: %s\n"
        "Libs: %s\nCflags: %s\n" % (prefix, name, name, toolchain, version, requires, libs, cflags)
    )


class Deps:
    """One run of scripts/deps for one toolchain."""

    def __init__(self, toolchain, steps):
        self.toolchain = toolchain
        self.steps = steps
        self.cache = cache.cache_folder(os.environ, os.getcwd())
        self.store = sources.Store(os.path.join(self.cache, "sources"))
        self.sources_log = os.path.join(self.store.folder, "fetch.log")
        self.sudo = [] if os.geteuid() == 0 else ["sudo"]
        self.env = dict(os.environ)

    # --- Sources

    def fetch_run(self, command, cwd=None):
        """Runs a source step, its output in the sources' own log (the
        build's log is named after the key, which the sources decide)."""
        with open(self.sources_log, "ab") as log:
            log.write(("+ %s\n" % shlex.join(command)).encode())
            log.flush()
            return subprocess.call(command, stdout=log, stderr=subprocess.STDOUT, cwd=cwd) == 0

    def refresh_source_lists(self):
        """apt-get source needs a deb-src entry: list the binary entries'
        sources. Package lists more than a day old are refreshed, so that a
        security update published since is seen; without a network the old
        lists do."""
        def read(path):
            try:
                with open(path) as f:
                    return f.read()
            except OSError:
                return None

        listed = [read("/etc/apt/sources.list")]
        for folder, _, names in os.walk("/etc/apt/sources.list.d"):
            listed += [read(os.path.join(folder, name)) for name in names]
        added = False
        if not sources.has_source_entries(t for t in listed if t):
            say("  adding deb-src entries for apt-get source")
            for name, text in sources.source_entries(read("/etc/apt/sources.list.d/debian.sources"),
                                                     read("/etc/apt/sources.list")):
                subprocess.run(self.sudo + ["tee", "/etc/apt/sources.list.d/" + name], input=text.encode(),
                               stdout=subprocess.DEVNULL, check=True)
            added = True
        if added or sources.lists_are_old("/var/lib/apt/lists"):
            self.fetch_run(self.sudo + ["apt-get", "update"]) or self.fetch_run(self.sudo + ["apt-get", "update"])

    def download(self, package, version):
        options = ["-o", "APT::Sandbox::User=root"] if os.geteuid() == 0 else []
        return self.fetch_run(["apt-get"] + options + ["source", "--download-only", "%s=%s" % (package, version)],
                              cwd=self.store.folder)

    def choose_sources(self):
        """The .dsc of each source, chosen under the sources' lock."""
        os.makedirs(self.store.folder, exist_ok=True)
        chosen = {}
        with locked(os.path.join(self.store.folder, ".lock")):
            self.refresh_source_lists()
            for package, upstream in SOURCES[self.toolchain]:
                showsrc = subprocess.run(["apt-cache", "showsrc", package], capture_output=True, text=True).stdout
                dsc = sources.choose(
                    self.store, package, upstream, sources.listed_versions(showsrc),
                    lambda p, v: self.store.download(p, v, self.download, say), say)
                if not dsc:
                    say("no source of %s %s could be fetched (see %s)" % (package, upstream, self.sources_log))
                    raise StepFailed(1, "choosing the source of %s" % package)
                chosen[package] = dsc
        return chosen

    # --- Keys

    def keys(self, chosen):
        version = subprocess.run(["dpkg-query", "-W", "-f=${Package} ${Version}\n"] + TOOLCHAIN_PACKAGES[self.toolchain],
                                 capture_output=True, text=True).stdout.rstrip("\n")
        recipe = []
        for path in RECIPE + TOOLCHAIN_FILES[self.toolchain]:
            with open(os.path.join(ROOT, path), "rb") as f:
                recipe.append(f.read())
        names = [os.path.basename(chosen[package]) for package, _ in SOURCES[self.toolchain]]
        base = cache.base_key(self.toolchain, version, names, recipe)
        compat = cache.tree_files(ROOT, "compat", lambda name: name.endswith(".md"))
        return base, cache.key(base, compat)

    # --- Building

    def run(self, *command, cwd=None):
        """A build step's command, recorded in the log with its output."""
        with open(self.log, "ab") as log:
            log.write(("+ %s\n" % shlex.join(command)).encode())
        check_call(["nice"] + list(command), self.log, cwd=cwd, env=self.env)

    def say(self, what):
        self.steps.step("building " + what, self.log)
        with open(self.log, "a") as log:
            log.write("== %s\n" % what)
        say("  " + what)

    def unpack(self, package, folder):
        """The package's source tree (Debian's patches applied) in `folder`."""
        shutil.rmtree(folder, ignore_errors=True)
        self.run("dpkg-source", "--no-copy", "-x", self.dsc[package], folder)
        with open(self.dsc[package], encoding="utf-8", errors="replace") as f:
            version = next(line[len("Version: "):].strip() for line in f if line.startswith("Version: "))
        with open(os.path.join(self.prefix, "share", "demo-deps", "versions"), "a") as f:
            f.write("%s %s\n" % (package, version))

    def license(self, name, *files):
        """Copies the library's licence texts, those of the files named that
        exist (names differ between releases)."""
        folder = os.path.join(self.prefix, "share", "licenses", name)
        os.makedirs(folder, exist_ok=True)
        copied = [shutil.copy(f, folder) for f in files if os.path.isfile(f)]
        if not copied:
            with open(self.log, "a") as log:
                log.write("no licence text for %s among: %s\n" % (name, " ".join(files)))
            raise StepFailed(1, "license %s" % name)

    def static_lib(self, lib, flags, files, cwd):
        """Compiles C files into a static library, JOBS compilers at a time."""
        objects = os.path.join(self.build, "obj")
        os.makedirs(objects, exist_ok=True)
        stem = os.path.basename(lib)[: -len(".a")]
        commands, outputs = [], []
        for name in files:
            obj = os.path.join(objects, "%s-%s.o" % (stem, os.path.basename(name)[: -len(".c")]))
            commands.append([self.cc] + self.cflags + flags + ["-c", name, "-o", obj])
            outputs.append(obj)
        with open(self.log, "a") as log:
            log.writelines(shlex.join(c) + "\n" for c in commands)
        failed = cache.run_parallel(commands, JOBS, self.log, cwd=cwd, env=self.env)
        if failed:
            raise StepFailed(1, failed[0])
        if os.path.exists(lib):
            os.remove(lib)
        self.run(self.ar, "rcs", lib, *outputs)

    def cmake_configure(self, *arguments):
        if self.toolchain == "windows":
            self.run("cmake", "-DCMAKE_TOOLCHAIN_FILE=%s" % os.path.join(ROOT, "cmake", "toolchains", "mingw-w64.cmake"),
                     "-DDEMO_DEPS_PREFIX=%s" % self.prefix, *arguments)
        else:
            self.run("emcmake", "cmake", "-DCMAKE_C_FLAGS_RELEASE=%s -DNDEBUG" % " ".join(self.cflags), *arguments)

    def set_up_toolchain(self):
        if self.toolchain == "windows":
            host = "x86_64-w64-mingw32"
            self.host = host
            self.cc = host + "-gcc-posix"
            self.env.update(CC=self.cc, CXX=host + "-g++-posix")
            self.ar = host + "-ar"
            self.cflags = ["-O2"]
            return
        # Debian's emscripten runs on Debian's python3, whatever python3 comes
        # first on the caller's PATH; its JS optimiser needs Debian's node
        # modules, which a node from elsewhere doesn't look for.
        self.env["PATH"] = "/usr/bin:" + self.env.get("PATH", "")
        self.env["NODE_PATH"] = "/usr/share/nodejs" + (":" + self.env["NODE_PATH"] if self.env.get("NODE_PATH") else "")
        # A writable cache seeded from the system libraries Debian ships
        # prebuilt (the shipped one is read-only and frozen); shared by all web
        # prefixes built with this emscripten.
        em_version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "emscripten"],
                                    capture_output=True, text=True).stdout
        self.em_cache = os.path.join(self.cache, "emscripten-%s-cache" % em_version)
        self.env.update(EM_CACHE=self.em_cache, EM_FROZEN_CACHE="")
        if not os.path.exists(os.path.join(self.em_cache, ".seeded")):
            self.say("seeding the emscripten cache")
            shutil.rmtree(self.em_cache, ignore_errors=True)
            os.makedirs(self.em_cache)
            self.run("cp", "-rs", "/usr/share/emscripten/cache/.", self.em_cache + "/")
            lock = os.path.join(self.em_cache, "cache.lock")
            if os.path.lexists(lock):
                os.remove(lock)
            open(os.path.join(self.em_cache, ".seeded"), "w").close()
        self.cc = "emcc"
        self.env.update(CC="emcc", CXX="em++")
        self.ar = "emar"
        # Small code for a page: optimised for size.
        self.cflags = ["-Os"]

    def build_base(self):
        """zlib, libpng, FreeType (static) and, for Windows, SDL 1.2 (a DLL)
        into the base prefix."""
        prefix = self.prefix
        shutil.rmtree(prefix, ignore_errors=True)
        for folder in ("include/SDL", "lib/pkgconfig", "bin", "share/demo-deps"):
            os.makedirs(os.path.join(prefix, folder))
        include, lib = os.path.join(prefix, "include"), os.path.join(prefix, "lib")

        self.say("zlib")
        src = os.path.join(self.build, "zlib")
        self.unpack("zlib", src)
        self.static_lib(os.path.join(lib, "libz.a"), ["-DHAVE_UNISTD_H"],
                        ["adler32.c", "compress.c", "crc32.c", "deflate.c", "gzclose.c", "gzlib.c", "gzread.c",
                         "gzwrite.c", "infback.c", "inffast.c", "inflate.c", "inftrees.c", "trees.c",
                         "uncompr.c", "zutil.c"], src)
        for name in ("zlib.h", "zconf.h"):
            shutil.copy(os.path.join(src, name), include)
        self.license("zlib", os.path.join(src, "LICENSE"), os.path.join(src, "README"))
        # minizip, from the same source: the script player reads games packed
        # as one .zip with it (and kz package writes them). In the browser
        # off_t is 64 bits already, so the plain stdio calls serve.
        minizip = os.path.join(src, "contrib", "minizip")
        self.static_lib(os.path.join(lib, "libminizip.a"),
                        ["-I" + include] + (["-DIOAPI_NO_64"] if self.toolchain == "web" else []),
                        ["unzip.c", "zip.c", "ioapi.c"], minizip)
        os.makedirs(os.path.join(include, "minizip"))
        for name in ("unzip.h", "zip.h", "ioapi.h"):
            shutil.copy(os.path.join(minizip, name), os.path.join(include, "minizip"))
        self.license("minizip", os.path.join(minizip, "MiniZip64_info.txt"))

        self.say("libpng")
        src = os.path.join(self.build, "libpng")
        self.unpack("libpng1.6", src)
        shutil.copy(os.path.join(src, "scripts", "pnglibconf.h.prebuilt"), os.path.join(src, "pnglibconf.h"))
        self.static_lib(os.path.join(lib, "libpng16.a"), ["-I.", "-I" + include],
                        ["png.c", "pngerror.c", "pngget.c", "pngmem.c", "pngpread.c", "pngread.c", "pngrio.c",
                         "pngrtran.c", "pngrutil.c", "pngset.c", "pngtrans.c", "pngwio.c", "pngwrite.c",
                         "pngwtran.c", "pngwutil.c"], src)
        shutil.copy(os.path.join(lib, "libpng16.a"), os.path.join(lib, "libpng.a"))
        for name in ("png.h", "pngconf.h", "pnglibconf.h"):
            shutil.copy(os.path.join(src, name), include)
        self.license("libpng", os.path.join(src, "LICENSE"))

        self.say("FreeType")
        src = os.path.join(self.build, "freetype")
        self.unpack("freetype", src)
        if self.toolchain == "web":
            # Every byte goes down a phone's network: TrueType fonts only (the
            # game's and the SDK's example's are), so the TrueType driver and
            # the font tables, and both rasterisers (SDL_ttf draws solid text
            # with the monochrome one, shaded and blended text with the smooth
            # one). A font's own hinting draws it, never the auto-hinter, so
            # the glyphs are the desktop's.
            modules = ["FT_Driver_ClassRec, tt_driver_class", "FT_Module_Class, sfnt_module_class",
                       "FT_Renderer_Class, ft_smooth_renderer_class", "FT_Renderer_Class, ft_raster1_renderer_class"]
            with open(os.path.join(src, "include", "freetype", "config", "ftmodule.h"), "w") as f:
                f.writelines("FT_USE_MODULE( %s )\n" % m for m in modules)
        # The zlib above for compressed fonts (its bundled copy would clash
        # with it where both are linked into one program); no PNG, bzip2,
        # Brotli or HarfBuzz.
        built = os.path.join(self.build, "freetype-build")
        self.cmake_configure("-S", src, "-B", built, "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_INSTALL_PREFIX=" + prefix,
                             "-DBUILD_SHARED_LIBS=OFF", "-DFT_REQUIRE_ZLIB=ON", "-DZLIB_INCLUDE_DIR=" + include,
                             "-DZLIB_LIBRARY=" + os.path.join(lib, "libz.a"), "-DFT_DISABLE_BZIP2=ON",
                             "-DFT_DISABLE_PNG=ON", "-DFT_DISABLE_HARFBUZZ=ON", "-DFT_DISABLE_BROTLI=ON")
        self.run("cmake", "--build", built, "-j", str(JOBS))
        self.run("cmake", "--install", built)
        self.license("freetype", os.path.join(src, "LICENSE.TXT"), os.path.join(src, "docs", "FTL.TXT"))

        if self.toolchain == "windows":
            self.say("SDL")
            src = os.path.join(self.build, "sdl")
            self.unpack("libsdl1.2", src)
            self.run("./configure", "--host=" + self.host, "--prefix=" + prefix, "--disable-static",
                     "--disable-directx", "--disable-cdrom", "--disable-rpath", "CFLAGS=" + " ".join(self.cflags),
                     "LDFLAGS=-static-libgcc", cwd=src)
            self.run("make", "-j", str(JOBS), cwd=src)
            self.run("make", "install", cwd=src)
            self.license("SDL", os.path.join(src, "COPYING"))
            # Libtool names the DLL SDL.dll already; what it leaves besides is
            # not for shipping.
            for name in os.listdir(lib):
                if name.endswith(".la"):
                    os.remove(os.path.join(lib, name))
            for path in ("bin/sdl-config", "share/man", "share/aclocal"):
                path = os.path.join(prefix, path)
                if os.path.isdir(path):
                    shutil.rmtree(path)
                elif os.path.lexists(path):
                    os.remove(path)
        open(os.path.join(prefix, ".complete"), "w").close()

    def build_compat(self):
        """compat/ (SDL_image, SDL_ttf, and for the web SDL_wasm) into a copy
        of the base, whose text files then name the copy, and the pkg-config
        file for SDL."""
        prefix = self.prefix
        cache.copy_prefix(self.base, prefix)
        if self.toolchain == "web":
            link = os.path.join(prefix, "em-cache")
            if os.path.lexists(link):
                os.remove(link)
            os.symlink(self.em_cache, link)
        self.say("SDL_image, SDL_ttf%s (compat/)" % (", SDL_wasm" if self.toolchain == "web" else ""))
        built = os.path.join(self.build, "compat")
        self.cmake_configure("-S", os.path.join(ROOT, "compat"), "-B", built, "-DCMAKE_BUILD_TYPE=Release",
                             "-DCMAKE_INSTALL_PREFIX=" + prefix, "-DDEMO_DEPS_PREFIX=" + prefix)
        self.run("cmake", "--build", built, "-j", str(JOBS))
        self.run("cmake", "--install", built)

        # The game finds SDL with `pkg-config sdl SDL_image SDL_ttf`, as on
        # Linux; -I<prefix>/include makes <SDL/SDL.h> and <SDL/SDL_image.h>
        # resolve here. SDL_image.pc and SDL_ttf.pc come from compat/.
        libs, cflags = SDL_PC[self.toolchain]
        with open(os.path.join(prefix, "lib", "pkgconfig", "sdl.pc"), "w") as f:
            f.write(pc_file("sdl", "1.2.15", prefix, self.toolchain, libs, cflags))
        # minizip as Debian's libminizip-dev declares it (#include <unzip.h>).
        with open(os.path.join(prefix, "lib", "pkgconfig", "minizip.pc"), "w") as f:
            f.write(pc_file("minizip", "1.1", prefix, self.toolchain, "-L${libdir} -lminizip -lz",
                            "-I${includedir}/minizip -I${includedir}"))

        self.steps.step("checking the prefix", self.log)
        for name in EXPECTED[self.toolchain]:
            if not os.path.exists(os.path.join(prefix, name)):
                with open(self.log, "a") as log:
                    log.write("missing from the prefix: %s\n" % name)
                raise StepFailed(1, "checking for %s" % name)
        if self.toolchain == "windows":
            dlls = sorted(os.path.join(prefix, "bin", n) for n in os.listdir(os.path.join(prefix, "bin"))
                          if n.endswith(".dll"))
            self.run(self.host + "-strip", "--strip-unneeded", *dlls)

    def main(self):
        steps = self.steps
        steps.step("setting up the %s toolchain" % self.toolchain)
        check_call([os.path.join(ROOT, "scripts", "setup"), self.toolchain], stdout=sys.stderr)
        steps.step("fetching Debian's sources", self.sources_log)
        self.dsc = self.choose_sources()
        base_key, key = self.keys(self.dsc)
        self.final = os.path.join(self.cache, "%s-%s" % (self.toolchain, key))
        self.base = os.path.join(self.cache, "%s-base-%s" % (self.toolchain, base_key))
        self.log = self.final + ".log"
        done = os.path.join(self.final, ".complete")
        if os.path.exists(done):
            say("The %s libraries come from the cache, nothing to build: %s" % (self.toolchain, self.final))
            print(self.final)
            return
        os.makedirs(self.cache, exist_ok=True)
        # One build per toolchain at a time; a second caller waits and reuses it.
        with locked(os.path.join(self.cache, ".%s.lock" % self.toolchain)):
            if os.path.exists(done):
                say("The %s libraries come from the cache, nothing to build: %s" % (self.toolchain, self.final))
                print(self.final)
                return
            say("Building the %s libraries into %s (log: %s)" % (self.toolchain, self.final, self.log))
            open(self.log, "w").close()
            started = time.time()
            self.build = os.path.join(self.cache, "build-%s-%s" % (self.toolchain, key))
            shutil.rmtree(self.build, ignore_errors=True)
            os.makedirs(self.build)
            self.prefix = self.final
            self.set_up_toolchain()
            if not os.path.exists(os.path.join(self.base, ".complete")):
                # The third-party libraries go into the base first.
                self.prefix = self.base
                self.build_base()
            self.prefix = self.final
            self.build_compat()
            shutil.rmtree(self.build)
            open(done, "w").close()
            seconds = int(time.time() - started)
            with open(self.log, "a") as log:
                log.write("== built in %d s\n" % seconds)
            say("  done in %d s" % seconds)
            print(self.final)


def main(argv):
    if len(argv) != 1 or argv[0] not in SOURCES:
        print("usage: scripts/deps windows|web", file=sys.stderr)
        sys.exit(2)
    steps = Steps("scripts/deps")
    steps.run(Deps(argv[0], steps).main)


if __name__ == "__main__":
    main(sys.argv[1:])
