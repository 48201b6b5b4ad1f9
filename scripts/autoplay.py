#!/usr/bin/env python3
"""Plays the whole demo automatically in a private X server, as a player
would with the mouse, and saves a picture of every step: the menu, each line
of the opening, each object's name while pointed at, each verb menu and each
line of every reaction (the bin's before and after the knife is taken). Then
closes the window as a user does and prints the game's standard output.

    scripts/autoplay.py --binary build/Demo --root . --out build/autoplay
"""

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402


def play(demo):
    demo.through_opening()
    for obj in demo.objects:
        demo.hover(obj)
        if obj.name == "Basurero":
            # Before the knife is taken, then after.
            for verb in obj.verbs:
                demo.act(obj, verb, obj.lines[verb])
            for verb in ("Recoger", "Examinar"):
                demo.act(obj, verb, h.BIN_AFTER_KNIFE[verb], "%s-%s-knife-taken" % (obj.name, verb))
        else:
            for verb in obj.verbs:
                demo.act(obj, verb, obj.lines[verb])


def main():
    args = h.arguments(lambda p: p.add_argument("--out", required=True, help="folder for the pictures"))
    out = os.path.abspath(args.out)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    steps = []

    def record(step, picture):
        name = "%03d-%s.png" % (len(steps) + 1, step)
        h.save_png(picture, os.path.join(out, name))
        steps.append(name)
        print("  %s" % name, flush=True)

    print("Playing the demo in a private X server; pictures go to %s" % out, flush=True)
    lines = []
    with h.XServer() as xserver:
        game = h.Game(args.binary, args.root, xserver)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            play(h.Demo(game, args.root, args.render_tool, record))
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
