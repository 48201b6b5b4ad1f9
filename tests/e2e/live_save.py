"""Saves that survive edits, in a real window: the script demo, asked to save
in its game file, is played to the knife and a look at the lizard (which sets
a flag of this test's); closing the window leaves a readable save. Then the
script is edited to remove that flag and rename the title scene, and the game
started again offers "Continuar": it goes on in the investigation with the
knife still taken, saying what of the save it dropped."""

import json
import os
import shutil
import tempfile

import harness as h
from harness.text import OVER_SCENE, shows_text

DROPPED = 'The save\'s flag "lagartija_vista" is no longer in the game: dropped'


def session(args, folder, data, play):
    env = {"XDG_DATA_HOME": data}
    with h.XServer() as xserver:
        game = h.Game([args.binary, folder], args.root, xserver, env=env)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            play(game, h.Demo(game, args.root, args.render_tool))
            game.close()
            status = game.wait_exit()
        finally:
            game.kill()
    h.check(status == 0, "exit status %r" % status)
    return game.output()


def test(args):
    top = tempfile.mkdtemp(prefix="kz-save-")
    try:
        folder, data = os.path.join(top, "demo"), os.path.join(top, "data")
        shutil.copytree(args.game, folder)
        path = lambda name: os.path.join(folder, name)

        def edit(name, old, new):
            with open(path(name), encoding="utf-8") as f:
                text = f.read()
            h.check(old in text, "%r is not in %s" % (old, name))
            with open(path(name), "w", encoding="utf-8") as f:
                f.write(text.replace(old, new, 1))

        edit("game.kz", "start menu\n", "start menu\nsave\n")
        edit("investigacion.scene", "Parece una lagartija comun y corriente tomando sol\n",
             "Parece una lagartija comun y corriente tomando sol\n\t\tset lagartija_vista\n")

        def first(game, demo):
            demo.through_opening()
            lizard, bin_ = demo.obj("Lagartija"), demo.obj("Basurero")
            demo.act(lizard, "Examinar", lizard.lines["Examinar"])
            demo.act(bin_, "Recoger", bin_.lines["Recoger"])

        session(args, folder, data, first)
        with open(os.path.join(data, "kz", "Demo", "save.json"), encoding="utf-8") as f:
            save = json.load(f)
        h.check(save["version"] == 1 and save["scene"] == "investigacion"
                and set(save["flags"]) == {"cuchillo", "lagartija_vista"}, "the save: %r" % save)

        edit("investigacion.scene", "\t\tset lagartija_vista\n", "")
        os.rename(path("menu.scene"), path("portada.scene"))
        edit("game.kz", "start menu\n", "start portada\n")

        def again(game, demo):
            demo.wait_menu()
            x, y = demo.START_AT
            mask = demo.mask("Continuar", demo.BUTTON_SIZE, -1)
            game.wait_screen(lambda im: shows_text(im, mask, x, y + 40, OVER_SCENE), "Continuar")
            game.click(x + 10, y + 50)
            game.wait_for_line(DROPPED)
            demo.act(demo.obj("Basurero"), "Recoger", h.BIN_AFTER_KNIFE["Recoger"])

        lines = session(args, folder, data, again)
        h.check(lines.count(DROPPED) == 1, "the drop said once: %r" % lines)
    finally:
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    h.run(test)
