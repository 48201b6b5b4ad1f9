"""`kz explore` on small games made here with a known unreachable line, a known
dead end and a known fault, each found with its exact report and exit
status 1; on the script demo every line is reached, and a limit that stops
the search is said.

    live_explore.py --binary build/kz --game build/games/demo --root ."""

import os
import shutil
import subprocess
import tempfile

import harness as h

GAME = "title Prueba\nstart calle\nfont Vera.ttf\nverbs Hablar Examinar\ncharacter Inspector portrait.png\n"
GAMES = {
    # A line behind a flag set only after the end; a well with no way out.
    "caso": {
        "game.kz": GAME,
        "calle.scene": "background background.png\nportrait Inspector\n\n"
        "object Puerta at 10 10 picture document.png\n"
        "\tExaminar\n\t\tif llave\n\t\t\tInspector: Nunca pasa\n\t\tInspector: Una puerta\n"
        "\tHablar\n\t\tInspector: Adios\n\t\tend\n\t\tset llave\n"
        "object Pozo at 100 10 picture document.png\n"
        "\tExaminar\n\t\tInspector: Me caigo\n\t\tgo pozo\n",
        "pozo.scene": "background background.png\n\nopening\n\tInspector: Estoy en el pozo\n",
    },
    # Two scenes whose openings send the player to each other for ever.
    "vueltas": {
        "game.kz": GAME.replace("start calle", "start a"),
        "a.scene": "background background.png\n\nobject Puerta at 10 10 picture document.png\n"
        "\tHablar\n\t\tInspector: Vamos\n\t\tgo b\n",
        "b.scene": "background background.png\n\nopening\n\tgo c\n",
        "c.scene": "background background.png\n\nopening\n\tgo b\n",
    },
}
EXPECTED = {
    "caso": [
        "{0}/calle.scene:7: this line is never reached: Nunca pasa",
        "{0}: dead end: no ending can be reached after: Pozo: Examinar",
        "{0}: dead end: no ending can be reached after: Puerta: Examinar > Pozo: Examinar",
        "4 states, 6 paths, 4 of 5 lines reached",
    ],
    "vueltas": [
        "{0}/b.scene:4: fault: the scripts go on without waiting for a click (scenes that go to "
        "each other?) (after: Puerta: Hablar)",
        "1 states, 1 paths, 1 of 1 lines reached",
    ],
}


def explore(args, *words):
    done = subprocess.run([args.binary, "explore"] + list(words), capture_output=True, text=True,
                          timeout=300)
    return done.returncode, done.stdout.splitlines()


def test(args):
    folder = tempfile.mkdtemp(prefix="kz-explore-")
    try:
        for name, files in GAMES.items():
            game = os.path.join(folder, name)
            shutil.copytree(os.path.join(args.root, "tests/fixtures/script/res"),
                            os.path.join(game, "res"))
            for file, text in files.items():
                with open(os.path.join(game, file), "w", encoding="utf-8") as f:
                    f.write(text)
            status, lines = explore(args, game)
            expected = [line.format(game) for line in EXPECTED[name]]
            h.check((status, lines) == (1, expected), "%s: %r %r" % (name, status, lines))
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    status, lines = explore(args, args.game)
    h.check(status == 0 and len(lines) == 1 and lines[0].endswith(" paths, 34 of 34 lines reached"),
            "the demo: %r %r" % (status, lines))
    status, lines = explore(args, "--limit", "3", args.game)
    limit = "%s: stopped at the limit of 3 states: what is said above is about those" % args.game
    h.check(status == 1 and lines[-2:] == [limit, "3 states, 27 paths, 32 of 34 lines reached"],
            "the demo within 3 states: %r %r" % (status, lines))

if __name__ == "__main__":
    h.run(test)
