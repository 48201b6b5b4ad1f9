#!/usr/bin/env python3
"""Plays the whole demo automatically in a private X server, as a player
would with the mouse, and saves a picture of every step: the menu, each line
of the opening, each object's name while pointed at, each verb menu and each
line of every reaction (the bin's before and after the knife is taken). Then
closes the window as a user does and prints the game's standard output.

    scripts/autoplay.py --binary build/Demo --root . --out build/autoplay
"""

import os
import sys

import harness as h


# The names of the pictures a play-through wrote into its folder. Only what it
# lists is ever removed, so a later play-through can replace its own pictures
# without touching anything else that may be there.
WRITTEN = ".autoplay-written"


def prepare(out):
    """Makes `out` ready for a play-through: created when missing, emptied of
    an earlier play-through's pictures. A folder holding anything else is
    refused, never emptied: it may be the checkout or someone's files."""
    if not os.path.lexists(out):
        os.makedirs(out)
        return
    if not os.path.isdir(out) or os.path.islink(out):
        sys.exit("autoplay: %s exists and is not a folder; name a new folder for the pictures" % out)
    entries = set(os.listdir(out))
    ours = set()
    if WRITTEN in entries:
        with open(os.path.join(out, WRITTEN)) as listing:
            ours = {line.strip() for line in listing if line.strip()} | {WRITTEN}
    strangers = sorted(name for name in entries
                       if name not in ours or os.path.isdir(os.path.join(out, name)))
    if strangers:
        sys.exit("autoplay: %s already holds files this play-through did not write (%s%s); "
                 "name a new or empty folder for the pictures, nothing was changed"
                 % (out, ", ".join(strangers[:3]), ", ..." if len(strangers) > 3 else ""))
    for name in entries:
        os.remove(os.path.join(out, name))


def main():
    args = h.arguments(lambda p: p.add_argument("--out", required=True, help="folder for the pictures"))
    out = os.path.abspath(args.out)
    prepare(out)
    steps = []

    def record(step, picture):
        name = "%03d-%s.png" % (len(steps) + 1, step)
        with open(os.path.join(out, WRITTEN), "a") as listing:
            listing.write(name + "\n")
        h.save_png(picture, os.path.join(out, name))
        steps.append(name)
        print("  %s" % name, flush=True)

    print("Playing the demo in a private X server; pictures go to %s" % out, flush=True)
    lines = []
    with h.XServer() as xserver:
        game = h.Game(args.command, args.root, xserver)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            h.play_through(h.Demo(game, args.root, args.render_tool, record))
            game.close()
            status = game.wait_exit()
        except h.Failure as failure:
            print("The play-through stopped: %s" % failure, flush=True)
            status = None
        finally:
            game.kill()
            lines = game.output()

    print("\nThe game's standard output:")
    for line in lines:
        print(line)
    print("\n%d pictures in %s" % (len(steps), out))
    if status != 0:
        print("The game did not end normally (status %r)." % status)
        sys.exit(1)
    print("The game ended normally (status 0).")


if __name__ == "__main__":
    main()
