"""`cmake --install` gives a game that works from any working directory: the
launcher in bin/ runs it from its data directory, where res/ is.

`cpack` makes the game's Debian package (and kz's): under /usr, the game, its pictures
and font, the launcher `demo`, the menu entry and the icon, and nothing else
(no engine libraries or headers); extracted into a throw-away root, its
launcher starts the game."""

import glob
import os
import subprocess
import tempfile

import harness as h


def play(demo):
    demo.wait_menu()
    demo.start()
    demo.wait_line(h.OPENING[0][0])


def test(args):
    build = os.path.dirname(args.binary)
    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as elsewhere:
        result = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                                capture_output=True, text=True, timeout=120)
        h.check(result.returncode == 0, "install failed: %s" % result.stderr)
        launcher = os.path.join(prefix, "bin", "demo")
        h.check(os.access(launcher, os.X_OK), "no launcher at %s" % launcher)
        # Started from a directory without res/, through a relative link to
        # the launcher, as from a desktop or a PATH entry.
        os.symlink(launcher, os.path.join(elsewhere, "demo"))
        h.play_session(args, play, binary="./demo", cwd=elsewhere)
    package(args)


def package(args):
    with tempfile.TemporaryDirectory() as out, tempfile.TemporaryDirectory() as root:
        result = subprocess.run(["cpack", "-B", out], cwd=os.path.dirname(args.binary),
                                capture_output=True, text=True, timeout=300)
        h.check(result.returncode == 0, "cpack failed: %s" % (result.stdout + result.stderr)[-800:])
        # The game's package, and kz's beside it (test_ship.py tries that one).
        debs = sorted(glob.glob(os.path.join(out, "*.deb")))
        h.check([os.path.basename(d).split("_")[0] for d in debs] == ["demo", "kz"], "cpack made %r" % debs)
        fields = subprocess.run(["dpkg-deb", "-f", debs[0], "Package", "Depends"],
                                capture_output=True, text=True, check=True).stdout
        for word in ("Package: demo", "libsdl1.2", "libsdl-image1.2", "libsdl-ttf2.0-0", "libgl1", "libglu1"):
            h.check(word in fields, "the package's fields lack %r: %r" % (word, fields))
        listing = subprocess.run(["dpkg-deb", "-c", debs[0]], capture_output=True, text=True, check=True).stdout
        files = {line.split()[-1][2:] for line in listing.splitlines() if line.startswith("-")}
        expected = {"usr/bin/demo", "usr/libexec/demo/Demo", "usr/share/applications/demo.desktop",
                    "usr/share/icons/hicolor/256x256/apps/demo.png",
                    "usr/share/icons/hicolor/scalable/apps/demo.svg", "usr/share/doc/demo/copyright"}
        expected |= {"usr/share/demo/res/" + name for name in os.listdir(os.path.join(args.root, "res"))}
        h.check(files == expected, "the package holds %r, lacks %r" % (files - expected, expected - files))
        subprocess.run(["dpkg-deb", "-x", debs[0], root], check=True)
        with open(os.path.join(root, "usr/share/applications/demo.desktop")) as f:
            entry = f.read().splitlines()
        for line in ("Name=Demo", "Exec=demo", "Icon=demo", "Categories=Game;AdventureGame;"):
            h.check(line in entry, "the menu entry lacks %r" % line)
        h.play_session(args, play, binary=os.path.join(root, "usr", "bin", "demo"), cwd=out)


if __name__ == "__main__":
    h.run(test)
