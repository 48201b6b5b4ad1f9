"""A game of one's own: the SDK component installed into an empty prefix, the
example game copied out of the checkout and built against that prefix alone,
then played to the end: the introduction's lines, the hand-over to the lamp
room, the topic, the document, and every verb of the lamp, whose state
changes what it says and shows, and going home, which ends the game by itself.
Installed with `cmake --install`, its launcher starts it from anywhere, and
`cpack` makes its Debian package. The guide's files, taken from docs/GUIDE.md
as written, build against the same prefix. Without a build type of their own
both are built optimised for each system; the window is titled with the
game's NAME; the guide's game, which bundles the Vera font and names no
licence, ships Vera's; a font or a file from outside the game without its
licence stops the build; faro, without ICON, gets the SDK's icon, and its page
(LANGUAGE en) asks for nothing the build did not make and says when the game
has ended."""

import functools
import json
import os
import re
import shutil
import subprocess
import tempfile
import zipfile

import harness as h
from harness import browser as b, wine

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


def build(source, build_dir, prefix=None, toolchain=None, target=None):
    """Configures and builds a CMake project that knows only the SDK in
    `prefix`, or the one whose toolchain file is `toolchain`."""
    where = ["--toolchain", toolchain] if toolchain else ["-DCMAKE_PREFIX_PATH=" + prefix]
    env = dict(os.environ)
    if toolchain and "emscripten" in open(toolchain).read():
        # Emscripten's tools want Debian's own python3 and node modules.
        env.update(PATH="/usr/bin:" + env["PATH"], NODE_PATH="/usr/share/nodejs")
    for command in (["cmake", "-S", source, "-B", build_dir] + where,
                    ["cmake", "--build", build_dir, "-j2"] + (["--target", target] if target else [])):
        result = subprocess.run(command, capture_output=True, text=True, timeout=900, env=env)
        h.check(result.returncode == 0, "%s failed:\n%s%s" % (" ".join(command), result.stdout[-3000:],
                                                               result.stderr[-3000:]))
        h.check("warning" not in result.stderr.lower(), "warnings:\n%s" % result.stderr[-3000:])


def built_with(build_dir, target):
    """The build type a configured build chose, and the flags it compiles and
    links `target` with."""
    cache = open(os.path.join(build_dir, "CMakeCache.txt")).read()
    kind = re.search(r"^CMAKE_BUILD_TYPE:\w+=(.*)$", cache, re.M).group(1)
    folder = os.path.join(build_dir, "CMakeFiles", target + ".dir")
    return kind, "".join(open(os.path.join(folder, name)).read() for name in ("flags.make", "link.txt"))


def optimised(build_dir, target, kind, *flags):
    built, used = built_with(build_dir, target)
    h.check(built == kind and all(flag in used for flag in flags),
            "%s: built %r, flags %s, wanted %s %s" % (target, built, used[-600:], kind, flags))


def licences(guide, work, prefix):
    """The guide's game in a language the page lacks, bundling a font of its
    own, then a file from outside its folder: each stops the build with what
    to do (a licence, named); the game's own build type wins over the
    default."""
    game = shutil.copytree(guide, os.path.join(work, "licences"))
    shutil.copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", os.path.join(game, "res"))
    outside = shutil.copy(os.path.join(guide, "res", "opaque.png"), os.path.join(work, "sello.png"))
    open(os.path.join(game, "DejaVuSans-LICENSE.txt"), "w").write("DejaVu's licence\n")
    recipe = os.path.join(game, "CMakeLists.txt")
    text = open(recipe).read()
    expected = ("kz_add_game(mijuego): %s is %s, so its licence must ship with it: add the licence to "
                "LICENSES under a name that begins with the file's, such as %s-LICENSE.txt")
    for n, (more, stop) in enumerate((
            ("LANGUAGE tlh", "kz_add_game(mijuego): the page has no words in LANGUAGE tlh; it has them in en, es, "
                             "fr, de, it and pt (or give a PAGE of your own)"),
            ("", (os.path.join(game, "res", "DejaVuSans.ttf"), "a font", "DejaVuSans")),
            ("LICENSES DejaVuSans-LICENSE.txt", None),
            (outside + " LICENSES DejaVuSans-LICENSE.txt", (outside, "from outside the project's folder", "sello")))):
        with open(recipe, "w") as out:
            out.write(text.replace("RESOURCES res)", "RESOURCES res %s)" % more))
        result = subprocess.run(["cmake", "-S", game, "-B", os.path.join(work, "licences-%d" % n),
                                 "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_BUILD_TYPE=Debug"],
                                capture_output=True, text=True, timeout=300)
        said = " ".join(result.stderr.split())
        if stop:
            stop = stop if isinstance(stop, str) else expected % stop
            h.check(result.returncode != 0 and stop in said, "%r: %s" % (more, said[-1500:]))
        else:
            h.check(result.returncode == 0, "%r: %s" % (more, said[-1500:]))
            h.check(built_with(os.path.join(work, "licences-%d" % n), "mijuego")[0] == "Debug",
                    "the game's own build type was not kept")


def guide_files(root):
    """The guide's game: every code block of docs/GUIDE.md that starts with a
    comment naming its file."""
    text = open(os.path.join(root, "docs", "GUIDE.md"), encoding="utf-8").read()
    files = {}
    for block in re.findall(r"```\w*\n(.*?)```", text, re.S):
        first = block.splitlines()[0]
        name = re.fullmatch(r"(?://|#) ([\w./-]+)", first.strip())
        if name:
            files[name.group(1)] = block
    h.check({"CMakeLists.txt", "main.cpp", "Bienvenida.cpp", "Farol.cpp"} <= set(files),
            "the guide's files: %r" % sorted(files))
    return files


def play(game, root, tool, to_the_end=True):
    lamp = h.DemoObject("Lámpara", "res/lampara.png", 256, 120, h.VERBS, LAMP)
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


def played_to_the_end(game, root, tool, ended=None, title=None):
    """Plays the whole game, which ends itself; checks what it printed (and
    calls `ended`, if given, while the player is still there). kz (the game
    written as a script) also says that `title` starts and ends."""
    try:
        game.find_window()
        play(game, root, tool)
        status = game.wait_exit()
        if ended:
            ended()
    finally:
        game.kill()
    h.check(status == 0, "exit status %r after going home" % status)
    # Nothing but the start line, the diary's click and overrun lines: the
    # scenes' trace is off.
    lines = [line for line in game.output() if line]
    h.check(lines[:1] == ["Graphic initialization successful "], "first line: %r" % lines[:1])
    if title:
        h.check(lines[1:2] == ["Starting " + title] and lines[-1:] == ["Ending %s " % title],
                "start and end lines: %r" % lines)
        lines = lines[1:-1]
    h.check(all(l == "clicked " or l.startswith("CPU OV -") for l in lines[1:]),
            "unexpected output: %r" % lines)


def sdk_toolchain(sdk, script):
    """The toolchain file of an SDK that `script sdk DIR` installed, or a
    failure that says the SDK is not there."""
    toolchain = os.path.join(sdk, "share", "kz", "toolchain.cmake")
    h.check(os.path.exists(toolchain), "no SDK in %s: %s could not build it (its output says why)" % (sdk, script))
    return toolchain


def windows(args, source, guide, work):
    """The same CMakeLists.txt with the Windows SDK's toolchain: the guide's
    files build, and faro's zip plays to the end under Wine."""
    toolchain = sdk_toolchain(args.windows_sdk, "scripts/windows")
    guide_dir = os.path.join(work, "guide-windows")
    build(guide, guide_dir, toolchain=toolchain, target="mijuego-zip")
    optimised(guide_dir, "mijuego", "Release", "-O3")
    names = zipfile.ZipFile(os.path.join(guide_dir, "mijuego-windows-x64.zip")).namelist()
    h.check("mijuego/licenses/Vera-COPYRIGHT.txt" in names, "the guide's zip: %r" % names)
    # Configured for Linux, the Windows SDK is passed over, not used.
    result = subprocess.run(["cmake", "-S", guide, "-B", os.path.join(work, "guide-not-windows"),
                             "-DCMAKE_PREFIX_PATH=" + args.windows_sdk], capture_output=True, text=True,
                            timeout=300)
    h.check(result.returncode != 0 and "1.1 (Windows)" in result.stderr,
            "the Windows SDK for a Linux build: %s" % result.stderr[-1500:])
    game_dir = os.path.join(work, "faro-windows")
    build(source, game_dir, toolchain=toolchain, target="faro-zip")
    with wine.Package(os.path.join(game_dir, "faro-windows-x64.zip"), "faro", "faro.exe") as package:
        for part in ("SDL.dll", "res/Vera.ttf", "README.txt", "licenses/SDL", "licenses/Vera-COPYRIGHT.txt"):
            h.check(os.path.exists(os.path.join(package.folder, part)), "the zip lacks " + part)
        with h.XServer() as xserver:
            played_to_the_end(package.game(xserver, title="El faro"), package.folder, args.render_tool)


def web(args, source, guide, work):
    """The same CMakeLists.txt with the web SDK's toolchain: the guide's files
    build, and faro's page plays to the end in Chromium."""
    toolchain = sdk_toolchain(args.web_sdk, "scripts/web")
    guide_dir = os.path.join(work, "guide-web")
    build(guide, guide_dir, toolchain=toolchain)
    optimised(guide_dir, "mijuego", "MinSizeRel", "-Os", "-Oz", "-sASYNCIFY_IGNORE_INDIRECT")
    made = sorted(os.listdir(os.path.join(guide_dir, "page")))
    h.check(made == ["Vera-COPYRIGHT.txt", "icon.png", "index.html", "mijuego.data", "mijuego.js",
                     "mijuego.wasm"], "the guide's page: %r" % made)
    h.check('<html lang="es">' in open(os.path.join(guide_dir, "page", "index.html")).read(),
            "the guide's page is not in Spanish")
    # Asked for, the page is an app that plays offline: its manifest from the
    # game's name and the SDK's icons, a worker keeping files the build made.
    app = shutil.copytree(guide, os.path.join(work, "guide-app"))
    recipe = os.path.join(app, "CMakeLists.txt")
    text = open(recipe).read()
    with open(recipe, "w") as out:
        out.write(text.replace("RESOURCES res)", "RESOURCES res MANIFEST OFFLINE)"))
    build(app, os.path.join(work, "guide-app-web"), toolchain=toolchain)
    page = os.path.join(work, "guide-app-web", "page")
    manifest = json.load(open(os.path.join(page, "manifest.webmanifest"), encoding="utf-8"))
    kept = re.search(r"const FILES = \[(.*)\];", open(os.path.join(page, "sw.js")).read()).group(1)
    kept = [name.strip(' "') for name in kept.split(",")]
    h.check(manifest["name"] == "Mi juego" and manifest["lang"] == "es" and {"icon.png", "icon.svg"} ==
            {icon["src"] for icon in manifest["icons"]} and "manifest.webmanifest" in kept and
            all(os.path.exists(os.path.join(page, name)) for name in kept + ["icon.svg"]),
            "the guide's app: %r, keeping %r" % (manifest, kept))
    game_dir = os.path.join(work, "faro-web")
    build(source, game_dir, toolchain=toolchain)
    page = os.path.join(game_dir, "page")
    for part in ("index.html", "faro.js", "faro.wasm", "faro.data", "Vera-COPYRIGHT.txt", "icon.png"):
        h.check(os.path.exists(os.path.join(page, part)), "the page lacks " + part)
    # Linked for size as the demo's page is: about 350 and 235 KB.
    sizes = [os.path.getsize(os.path.join(page, "faro." + kind)) for kind in ("wasm", "js")]
    h.check(sizes[0] < 450_000 and sizes[1] < 260_000, "faro.wasm and faro.js: %r bytes" % sizes)
    html = open(os.path.join(page, "index.html"), encoding="utf-8").read()
    h.check('<html lang="en">' in html and "Loading…" in html and "Relight the lighthouse" in html
            and "Demo" not in html and "Empezar" not in html, "faro's page is not its own")
    # What the page has packed as res/, for the players to compare with.
    root = os.path.join(work, "faro-web-res")
    shutil.copytree(os.path.join(source, "res"), os.path.join(root, "res"))
    shutil.copy("/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf", os.path.join(root, "res"))
    with b.Server(page) as server:
        browser = b.Browser(server.url)
        browser.find_window = functools.partial(browser.find_window, started="Graphic initialization successful ")

        def ended():
            # The end is said, and playing again starts the game afresh.
            said = "(() => { const e = document.getElementById('ended'); return e && !e.parentNode.hidden &&" \
                   " [e.textContent, document.getElementById('again').textContent]; })()"
            h.wait_until(lambda: browser.evaluate(said) == ["The game has ended.", "Play again"], h.STEP_TIMEOUT,
                         0.2, "the page to say the game has ended")
            with browser.changed:
                browser.lines.clear()
                browser.exit_status = None
            browser.evaluate("document.getElementById('again').click()")
            browser.find_window()
        played_to_the_end(browser, root, args.render_tool, ended)
        # Played twice: the second time the browser may ask whether a file changed (304).
        missing = [request for request in server.requests if request[1] >= 400]
        h.check(not missing and len(server.requests) > 4, "the page's requests: %r" % server.requests)


def copies(args, work):
    """The example and the guide's game, copied out of the checkout so that
    nothing can reach back into it."""
    source = shutil.copytree(os.path.join(args.root, "examples", "faro"), os.path.join(work, "faro"))
    guide = os.path.join(work, "guide")
    for name, content in guide_files(args.root).items():
        os.makedirs(os.path.dirname(os.path.join(guide, name)), exist_ok=True)
        with open(os.path.join(guide, name), "w", encoding="utf-8") as out:
            out.write(content)
    # Its res/, as the guide says to make it.
    os.makedirs(os.path.join(guide, "res"))
    for name, picture in (("fondo.png", "sala.png"), ("opaque.png", "opaque.png"),
                          ("pressbutton.png", "pressbutton.png")):
        shutil.copy(os.path.join(source, "res", picture), os.path.join(guide, "res", name))
    shutil.copy("/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf", os.path.join(guide, "res"))
    return source, guide


def linux(args, source, guide, work):
    """The SDK component installed into an empty prefix; the guide's game and
    faro built against it; faro played, installed and packaged."""
    prefix = os.path.join(work, "prefix")
    result = subprocess.run(["cmake", "--install", os.path.dirname(args.binary), "--prefix", prefix,
                             "--component", "sdk"], capture_output=True, text=True, timeout=120)
    h.check(result.returncode == 0, "install failed: %s" % result.stderr)
    for game_part in ("bin", "include/kz/MainMenu.h", "include/kz/SDLMain.h"):
        h.check(not os.path.exists(os.path.join(prefix, game_part)), "the sdk holds the demo's " + game_part)
    guide_dir = os.path.join(work, "guide-build")
    build(guide, guide_dir, prefix)
    optimised(guide_dir, "mijuego", "Release", "-O3")
    licences(guide, work, prefix)
    result = subprocess.run(["cmake", "--install", guide_dir, "--prefix", os.path.join(work, "guide-prefix")],
                            capture_output=True, text=True, timeout=120)
    copyright = os.path.join(work, "guide-prefix", "share", "doc", "mijuego", "Vera-COPYRIGHT.txt")
    h.check(result.returncode == 0 and os.path.exists(copyright)
            and open(copyright, "rb").read() == open("/usr/share/doc/ttf-bitstream-vera/copyright", "rb").read(),
            "the guide's game installs no Vera licence: %s" % result.stderr[-800:])
    game_dir = os.path.join(work, "faro-build")
    build(source, game_dir, prefix)
    with h.XServer() as xserver:
        played_to_the_end(h.Game("./faro", game_dir, xserver, title="El faro"), game_dir,
                          args.render_tool)
    installed(args, game_dir, work)


def script(args):
    """The example written again as a script game (examples/faro/script),
    played to the end by kz as the C++ build is."""
    with h.XServer() as xserver:
        game = h.Game(args.command, args.root, xserver, title="El faro")
        played_to_the_end(game, os.path.abspath(args.game), args.render_tool, title="El faro")


def test(args):
    if args.only == "script":
        script(args)
        return
    with tempfile.TemporaryDirectory() as work:
        source, guide = copies(args, work)
        if args.only in (None, "linux"):
            linux(args, source, guide, work)
        if args.windows_sdk and args.only in (None, "windows"):
            windows(args, source, guide, work)
        if args.web_sdk and args.only in (None, "web"):
            web(args, source, guide, work)


def installed(args, game_dir, work):
    """The game as kz_add_game() installs and packages it on Linux."""
    prefix = os.path.join(work, "faro-prefix")
    result = subprocess.run(["cmake", "--install", game_dir, "--prefix", prefix],
                            capture_output=True, text=True, timeout=120)
    h.check(result.returncode == 0, "install failed: %s" % result.stderr)
    for part in ("bin/faro", "libexec/faro/faro", "share/faro/res/Vera.ttf", "share/faro/res/sala.png",
                 "share/applications/faro.desktop", "share/doc/faro/Vera-COPYRIGHT.txt",
                 "share/icons/hicolor/256x256/apps/faro.png", "share/icons/hicolor/scalable/apps/faro.svg"):
        h.check(os.path.exists(os.path.join(prefix, part)), "the install lacks " + part)
    entry = open(os.path.join(prefix, "share/applications/faro.desktop"), encoding="utf-8").read()
    h.check("Name=El faro\n" in entry and "Exec=faro\n" in entry and "Icon=faro\n" in entry,
            "the menu entry: %r" % entry)
    result = subprocess.run(["cpack", "-B", os.path.join(work, "deb")], cwd=game_dir,
                            capture_output=True, text=True, timeout=300)
    deb = os.path.join(work, "deb", "faro_1.0.0_amd64.deb")
    h.check(result.returncode == 0 and os.path.exists(deb), "cpack: %s" % (result.stdout + result.stderr)[-800:])
    fields = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Maintainer"], capture_output=True, text=True).stdout
    h.check(fields == "Package: faro\nMaintainer: The authors of El faro\n", "the package's fields: %r" % fields)
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

def options(parser):
    parser.add_argument("--windows-sdk", help="the SDK installed for Windows (scripts/windows sdk DIR)")
    parser.add_argument("--web-sdk", help="the SDK installed for the browser (scripts/web sdk DIR)")
    parser.add_argument("--only", choices=("linux", "windows", "web", "script"),
                        help="that system's build alone, or the script game played by kz (--game)")


if __name__ == "__main__":
    h.run(test, options)
