"""A game of one's own: the SDK component installed into an empty prefix, the
example game copied out of the checkout and built against that prefix alone,
then played to the end: the introduction's lines, the hand-over to the lamp
room, the topic, the document, and every verb of the lamp, whose state
changes what it says and shows, and going home, which ends the game by itself.
Installed with `cmake --install`, its launcher starts it from anywhere, and
`cpack` makes its Debian package. The guide's files, taken from docs/GUIDE.md
as written, build against the same prefix."""

import os
import re
import shutil
import subprocess
import tempfile

import harness as h

INTRO = ["Por fin llegas, aprendiz", "Anoche la tormenta apagó la lámpara del faro",
         "Sube a la sala y vuelve a encenderla"]
HANDOVER = "La sala huele a aceite y a sal"
TOPIC_AT, TOPIC = (500, 330), ["El viento rompió una ventana", "y la lluvia ahogó la llama"]
DIARY_AT, DIARY = (130, 220), ["«La lámpara se enciende girando la manivela»"]
LAMP = {
    "Hablar": ["Vamos, vieja amiga, despierta"],
    "Examinar": ["La mecha está apagada y fría"],
    "Recoger": ["Pesa demasiado para llevarla a ninguna parte"],
    "Mover": ["Giras la manivela y la mecha prende", "¡La luz vuelve a barrer el mar!"],
}
LIT = {"Examinar": ["Arde con una llama firme y clara"], "Mover": ["Mejor no tocarla mientras gira"]}
HOME_AT, HOME = (500, 360), ["Bajas la escalera; el faro vela por los barcos"]


def build(source, build_dir, prefix):
    """Configures and builds a CMake project that knows only `prefix`."""
    for command in (["cmake", "-S", source, "-B", build_dir, "-DCMAKE_PREFIX_PATH=" + prefix],
                    ["cmake", "--build", build_dir, "-j2"]):
        result = subprocess.run(command, capture_output=True, text=True, timeout=600)
        h.check(result.returncode == 0, "%s failed:\n%s%s" % (" ".join(command), result.stdout[-3000:],
                                                               result.stderr[-3000:]))
        h.check("warning" not in result.stderr.lower(), "warnings:\n%s" % result.stderr[-3000:])


def guide_files(root):
    """The files of the guide's "Your first scene": every code block that
    starts with a comment naming its file."""
    text = open(os.path.join(root, "docs", "GUIDE.md"), encoding="utf-8").read()
    section = text.split("## Your first scene", 1)[1].split("\n## ", 1)[0]
    files = {}
    for block in re.findall(r"```\w*\n(.*?)```", section, re.S):
        first = block.splitlines()[0]
        name = re.fullmatch(r"(?://|#) ([\w./-]+)", first.strip())
        if name:
            files[name.group(1)] = block
    h.check({"CMakeLists.txt", "main.cpp"} <= set(files), "the guide's files: %r" % sorted(files))
    return files


def play(game, root, tool, to_the_end=True):
    lamp = h.DemoObject("Lámpara", "lampara.png", 256, 120, h.VERBS, LAMP)
    faro = h.Demo(game, root, tool, objects=[lamp])
    # The strip's left part: nothing of the lamp room lies there.
    faro.strip_box = lambda: (0, faro.STRIP_TOP + 4, 250, faro.H - faro.STRIP_TOP - 8)
    for text in INTRO:
        faro.wait_line(text)
        faro.go_on()
    # The introduction has handed over: the lamp room plays its own line,
    # then lets the player point (the name shows only outside a script).
    faro.wait_line(HANDOVER)
    faro.go_on()
    faro.background = faro.hover(lamp)

    game.click(*TOPIC_AT)
    faro.play_lines(TOPIC)
    game.click(*DIARY_AT)
    faro.play_lines(DIARY)
    h.check(game.output().count("clicked ") == 1, "the diary's click: %r" % game.output())

    for verb in h.VERBS:
        faro.act(lamp, verb, LAMP[verb])
    lit = h.load_picture(os.path.join(root, "res", "lampara-encendida.png"))
    picture = game.screenshot()
    h.check(h.picture_difference(picture, lit, lamp.x, lamp.y) < 16, "the lamp does not show lit")
    for verb, lines in LIT.items():
        faro.act(lamp, verb, lines)
    if to_the_end:
        # The last line, then the game ends by itself.
        game.click(*HOME_AT)
        faro.wait_line(HOME[0])
        faro.go_on()


def test(args):
    with tempfile.TemporaryDirectory() as work:
        prefix = os.path.join(work, "prefix")
        result = subprocess.run(["cmake", "--install", os.path.dirname(args.binary), "--prefix", prefix,
                                 "--component", "sdk"], capture_output=True, text=True, timeout=120)
        h.check(result.returncode == 0, "install failed: %s" % result.stderr)
        for game_part in ("bin", "include/kz/MainMenu.h", "include/kz/SDLMain.h"):
            h.check(not os.path.exists(os.path.join(prefix, game_part)), "the sdk holds the demo's " + game_part)

        # Copies, so nothing can reach back into the checkout.
        source = shutil.copytree(os.path.join(args.root, "examples", "faro"), os.path.join(work, "faro"))
        guide = os.path.join(work, "guide")
        for name, content in guide_files(args.root).items():
            os.makedirs(os.path.dirname(os.path.join(guide, name)), exist_ok=True)
            with open(os.path.join(guide, name), "w", encoding="utf-8") as out:
                out.write(content)
        build(guide, os.path.join(work, "guide-build"), prefix)
        game_dir = os.path.join(work, "faro-build")
        build(source, game_dir, prefix)

        with h.XServer() as xserver:
            game = h.Game("./faro", game_dir, xserver, title="El faro")
            try:
                game.find_window()
                play(game, game_dir, args.render_tool)
                status = game.wait_exit()  # going home ends the game
            finally:
                game.kill()
        h.check(status == 0, "exit status %r after going home" % status)
        # Nothing but the start line, the diary's click and overrun lines: the
        # scenes' trace is off.
        lines = game.output()
        h.check(lines[:1] == ["Graphic initialization successful "], "first line: %r" % lines[:1])
        h.check(all(l == "clicked " or l.startswith("CPU OV -") for l in lines[1:]),
                "unexpected output: %r" % lines)
        installed(args, game_dir, work)


def installed(args, game_dir, work):
    """The game as kz_add_game() installs and packages it on Linux."""
    prefix = os.path.join(work, "faro-prefix")
    result = subprocess.run(["cmake", "--install", game_dir, "--prefix", prefix],
                            capture_output=True, text=True, timeout=120)
    h.check(result.returncode == 0, "install failed: %s" % result.stderr)
    for part in ("bin/faro", "libexec/faro/faro", "share/faro/res/Vera.ttf", "share/faro/res/sala.png",
                 "share/applications/faro.desktop", "share/doc/faro/Vera-COPYRIGHT.txt"):
        h.check(os.path.exists(os.path.join(prefix, part)), "the install lacks " + part)
    entry = open(os.path.join(prefix, "share/applications/faro.desktop"), encoding="utf-8").read()
    h.check("Name=El faro\n" in entry and "Exec=faro\n" in entry, "the menu entry: %r" % entry)
    result = subprocess.run(["cpack", "-B", os.path.join(work, "deb")], cwd=game_dir,
                            capture_output=True, text=True, timeout=300)
    h.check(result.returncode == 0 and os.path.exists(os.path.join(work, "deb", "faro_1.0.0_amd64.deb")),
            "cpack: %s" % (result.stdout + result.stderr)[-800:])
    # The launcher runs the game from its data folder, wherever it is started.
    with h.XServer() as xserver:
        game = h.Game(os.path.join(prefix, "bin", "faro"), work, xserver, title="El faro")
        try:
            game.find_window()
            faro = h.Demo(game, game_dir, args.render_tool, objects=[])
            faro.wait_line(INTRO[0])
            game.close()
            status = game.wait_exit()
        finally:
            game.kill()
    h.check(status == 0, "the installed game: status %r" % status)

if __name__ == "__main__":
    h.run(test)
