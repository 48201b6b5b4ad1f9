"""Bad input is said plainly: run from a folder without res/ (or with a
picture missing) the game prints the loader's message and a line naming the
missing file and the folder it looked in, and ends with status 1; without a
display it prints one line and ends with a non-zero status, never hanging."""

import os
import shutil
import tempfile

import harness as h


def expect_missing(game, message_start, last_line):
    status = game.wait_exit(h.START_TIMEOUT)
    lines = game.output()
    h.check(status == 1, "exit status %r, output %r" % (status, lines))
    h.check(lines[:2] == ["Graphic initialization successful ", "Starting Demo"],
            "start of output: %r" % lines[:2])
    h.check(len(lines) == 4, "expected the loader's message and one more line: %r" % lines)
    h.check(lines[2].startswith(message_start), "loader's message: %r" % lines[2])
    h.check(lines[3] == last_line, "last line %r, expected %r" % (lines[3], last_line))


def expect_no_display(game):
    status = game.wait_exit(h.START_TIMEOUT)
    lines = game.output()
    h.check(status != 0, "exit status 0 without a display")
    h.check(len(lines) == 1 and lines[0].strip(), "expected one line, got %r" % lines)
    h.check("Graphic initialization successful " not in lines, "claims to have a window: %r" % lines)


def test(args):
    with tempfile.TemporaryDirectory() as empty, h.XServer() as xserver:
        # No res/ at all: the first thing loaded is the font.
        here = os.path.realpath(empty)
        expect_missing(h.Game(args.binary, empty, xserver), "Unable to load font: ",
                       "Could not load res/Vera.ttf: there is no res/ folder in %s (the game reads its "
                       "files from the folder it is started in)" % here)

        # res/ without the background picture.
        shutil.copytree(os.path.join(args.root, "res"), os.path.join(empty, "res"))
        os.remove(os.path.join(empty, "res", "main.png"))
        expect_missing(h.Game(args.binary, empty, xserver), "SDL could not load image.bmp: ",
                       "Could not load res/main.png: there is no such file in %s/res" % here)

        # No display at all, and a display that is not there.
        expect_no_display(h.Game(args.binary, args.root, None))
        expect_no_display(h.Game(args.binary, args.root, None, {"DISPLAY": ":4711"}))


if __name__ == "__main__":
    h.run(test)
