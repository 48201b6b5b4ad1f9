"""The Windows package (Demo-windows-x64.zip) under Wine, unpacked in a fresh
folder and started from it as a double-click does (see wine.py).

    windows_package.py play  --package ZIP --binary build/Demo --root . --render-tool T
    windows_package.py no_res --package ZIP --binary build/Demo --root .

play: the whole automatic play-through of screenshots.py, every step's
picture compared with the goldens, then the window closed: status 0, and
stdout.txt holds the very bytes the Linux build (--binary) prints for a
session, "\\n" line ends included ("CPU OV " lines, which depend on timing,
aside).

big_screen: on a 2560 x 1600 screen the window opens at 1920 x 1440 (three
times 640 x 480, the largest that fits) and the opening, a name and a verb
menu play at the enlarged places; SDL12COMPAT_WINDOW_SCALING=1 keeps it at
640 x 480 there, as on Linux; on a 1024 x 768 screen it opens at 640 x 480.

no_res: the folder without res/: the loader's message and the line naming the
file, exactly as the Linux build prints them (but for the folder's own name),
and status 1.
"""

import os
import shutil
import sys
import tempfile

import harness as h
import screenshots
from harness import wine


def linux_session(args):
    """What the Linux build prints for a session closed in the menu."""
    return h.play_session(args, lambda demo: None).output()


def as_bytes(lines):
    return "".join(line + "\n" for line in lines).encode("utf-8")


def without_overruns(raw):
    return b"".join(l for l in raw.splitlines(keepends=True) if not l.startswith(b"CPU OV "))


# The goldens come from sdl12-compat drawing the game into an offscreen
# framebuffer that it copies to the window. An SDL 1.2 that draws straight
# into the window gives the same picture but on five rows of the stretched
# background, where one channel of some pixels is one off: the Linux build
# shows exactly that difference with SDL12COMPAT_OPENGL_SCALING=0.
STRAIGHT_ROWS = {66, 143, 220, 287, 297}


def drawn_straight(actual, golden, icon_looks):
    """The picture is the golden as drawn straight into the window."""
    expected = screenshots.icon_settled(actual, golden, icon_looks)
    row = screenshots.WIDTH * 3
    return all(
        i // row in STRAIGHT_ROWS and abs(a - e) <= 1
        for i, (a, e) in enumerate(zip(actual, expected)) if a != e)


def play(args):
    with wine.Package(args.package) as package:
        game = screenshots.compare(
            args, lambda args, play: h.play_session(args, play, start=package.game),
            drawn_straight)
        written = game.raw_stdout
        errors = os.path.join(package.folder, "stderr.txt")
        if os.path.exists(errors):
            raise h.Failure("stderr.txt was left: %r" % open(errors, "rb").read())
    expected = without_overruns(as_bytes(linux_session(args)))
    h.check(without_overruns(written) == expected,
            "stdout.txt holds %r; the Linux build prints %r" % (written, expected))


def big_screen(args):
    for screen, env, play in (
            ("2560x1600x24", {}, h.play_on_big_screen),
            ("2560x1600x24", {"SDL12COMPAT_WINDOW_SCALING": "1"}, lambda demo: h.window_size_is(demo, (640, 480))),
            ("1024x768x24", {}, lambda demo: h.window_size_is(demo, (640, 480)))):
        with wine.Package(args.package) as package:
            package.env.update(env)
            h.play_session(args, play, start=package.game, screen=screen)


def no_res(args):
    """The line naming the file also names the folder the game was started in:
    a Linux path on Linux, Wine's name for it (Z:\\...) on Windows."""
    with h.XServer() as xserver, tempfile.TemporaryDirectory() as empty:
        linux = h.Game(args.binary, empty, xserver)
        status = linux.wait_exit()
        expected = [line.replace(empty, "<folder>") for line in linux.output()]
        h.check(status == 1 and expected[-1].startswith("Could not load res/"),
                "the Linux build without res/: status %r, %r" % (status, expected))
        with wine.Package(args.package) as package:
            shutil.rmtree(os.path.join(package.folder, "res"))
            game = package.game(xserver)
            try:
                status = game.wait_exit(h.START_TIMEOUT)
            finally:
                game.kill()
            folder = "Z:" + package.folder.replace("/", "\\")
    lines = [line.replace(folder, "<folder>") for line in game.output()]
    h.check((status, lines) == (1, expected),
            "without res/: status %r and %r; the Linux build: status 1 and %r"
            % (status, lines, expected))


def main():
    tests = {"play": play, "no_res": no_res, "big_screen": big_screen}
    which = sys.argv.pop(1) if len(sys.argv) > 1 else None
    if which not in tests:
        sys.exit("usage: windows_package.py {%s} OPTIONS" % ",".join(tests))
    h.run(tests[which], lambda p: p.add_argument("--package", required=True, help="the zip"))


if __name__ == "__main__":
    main()
