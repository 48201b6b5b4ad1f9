"""A writer's change while the script demo plays, in a real window with real
clicks: played to the bin, the knife taken; a change saved in the middle of
a line keeps that line on the screen and the script going on from it, and a
rewritten line on the screen shows its new words at once; a line
of the bin changed in its file is what the next "Recoger" says, the knife
still taken; a syntax error shows its finding over the game while it goes
on; fixing it brings the game back, the overlay gone. And, not watching
(--no-reload), a portrait deleted before its scene is shown: the fault is on
standard output and over the game, and the opening plays on.

    live_reload.py --binary build/kz --game build/games/demo --root . --render-tool ..."""

import os
import shutil
import tempfile

import harness as h

OLD = "Ya he cogido el cuchillo"
NEW = "Ya tengo el cuchillo, gracias"
BROKEN = "object Roto at\n"
PANEL = (24, 16, 40)  # the overlay's backdrop, nine tenths opaque over the scene


def shows_panel(picture):
    return all(abs(a - b) <= 8 for a, b in zip(picture.rgb(636, 2), PANEL))


def error_text(picture, top, bottom):
    """Pixels in the overlay's colour for errors, between two rows."""
    return sum(picture.rgb(x, y) == (255, 110, 100) for x in range(0, 640, 2) for y in range(top, bottom))


def play(args, game, folder, demo):
    scene = os.path.join(folder, "investigacion.scene")

    def edit(old, new, then):
        """Saves the scene file with `old` replaced by `new` and waits for the
        note `then` (printed once more than before)."""
        seen = game.output().count(then)
        with open(scene, encoding="utf-8") as f:
            text = f.read()
        h.check(old in text, "%r is not in the scene file" % old)
        with open(scene, "w", encoding="utf-8") as f:
            f.write(text.replace(old, new, 1))
        h.wait_until(lambda: game.output().count(then) > seen, what="the game to print %r" % then)

    at_rest = "Reloaded investigacion.scene: back in investigacion, at rest"

    demo.through_opening()
    bin_ = demo.obj("Basurero")
    lines = bin_.lines["Recoger"]
    demo.open_menu(bin_)
    demo.choose(bin_, "Recoger")
    demo.wait_line(lines[0])
    demo.go_on()
    demo.wait_line(lines[1])
    same = "Reloaded investigacion.scene: back in investigacion, at the same line"
    edit("object Basurero", "# a writer's note\nobject Basurero", same)
    demo.wait_line(lines[1])  # the line still shown
    edit(lines[1], "Todo sea por la verdad!", same)  # the line on the screen rewritten
    demo.play_lines(["Todo sea por la verdad!"] + lines[2:])  # and the script going on from it

    edit(OLD, NEW, at_rest)
    demo.act(bin_, "Recoger", [NEW])  # the new line, and the knife still taken

    edit("object Basurero", BROKEN + "object Basurero", "Not reloaded investigacion.scene: the "
         "game has errors; the last good version goes on")
    picture = game.wait_screen(shows_panel, "the findings over the game")
    h.check(error_text(picture, 8, 24) > 50, "the finding's words are not on the screen")
    demo.act(bin_, "Examinar", h.BIN_AFTER_KNIFE["Examinar"])  # the game goes on under it

    edit(BROKEN, "", at_rest)
    game.wait_screen(lambda im: not shows_panel(im), "the findings to go")
    demo.act(bin_, "Recoger", [NEW])


def fault(args, game, folder, demo):
    demo.wait_menu()
    os.remove(os.path.join(folder, "res", "personaje1.png"))
    demo.start()
    game.wait_screen(shows_panel, "the fault over the game")
    demo.wait_line(h.OPENING[0][0])
    lines = [line for line in game.output() if line.startswith("Could not load ")]
    h.check(lines == ["Could not load res/personaje1.png: there is no such file in %s/res" % folder],
            "the fault: %r" % lines)
    h.check(not any("eloaded" in line for line in game.output()), "reloaded though not watching")


def session(args, play, *options):
    folder = tempfile.mkdtemp(prefix="kz-live-")
    try:
        game_folder = os.path.join(folder, "demo")
        shutil.copytree(args.game, game_folder)
        with h.XServer() as xserver:
            game = h.Game([args.binary] + list(options) + [game_folder], args.root, xserver)
            try:
                game.wait_for_line("Starting Demo")
                game.find_window()
                try:
                    play(args, game, game_folder, h.Demo(game, args.root, args.render_tool))
                except h.Failure as failure:
                    raise h.Failure("%s; the game printed %r" % (failure, game.output()))
                game.close()
                status = game.wait_exit()
            finally:
                game.kill()
        h.check(status == 0, "exit status %r after closing the window" % status)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def test(args):
    session(args, play)
    session(args, fault, "--no-reload")


if __name__ == "__main__":
    h.run(test)
