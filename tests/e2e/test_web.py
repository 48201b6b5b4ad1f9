"""The web page in headless Chromium with real pointer input: the whole
play-through compared with the desktop goldens, the opening with the canvas
enlarged twice, and a page with a missing picture or a broken font, which
must show the loader's message and stop.

The browser draws through WebGL (SwiftShader here) where the desktop draws
through Mesa's llvmpipe. Both filter and blend the same textures at the same
places, but round differently: about a tenth of the pixels of a step come
out one level (rarely two) off in a channel. close_enough allows exactly
that much; a misplaced, missing or wrongly coloured thing is off by far more.

--part touch: the same by touch on phones and a tablet (Browser.displayed: the
bound a fractional scale explains), a turned phone, offline, a slow device.
"""

import os
import pathlib
import re
import shutil
import tempfile
import zipfile

import harness as h
from harness import browser as b
import screenshots
import test_bad_input

# No channel off by more than 2, at most 15% of them off.
close_enough = screenshots.rounding_only(2, 0.15)


def damaged_page(args, folder, name, how):
    """A copy of the page in `folder` in which the packed file res/`name` is
    missing (its name changed in the loader) or broken (its bytes zeroed)."""
    shutil.copytree(args.web, folder, dirs_exist_ok=True)
    loader = os.path.join(folder, "Demo.js")
    with open(loader) as f:
        script = f.read()
    entry = re.search(r'"filename":\s*"/res/%s",\s*"start":\s*(\d+),\s*"end":\s*(\d+)' % re.escape(name), script)
    h.check(entry is not None, "res/%s is not packed into the page" % name)
    if how == "missing":
        script = script.replace('"/res/%s"' % name, '"/res/%s"' % ("x" * len(name)))
        with open(loader, "w") as f:
            f.write(script)
    else:
        start, end = int(entry.group(1)), int(entry.group(2))
        with open(os.path.join(folder, "Demo.data"), "r+b") as f:
            f.seek(start)
            f.write(bytes(end - start))


def touch(args):
    # The whole play-through by touch, each step also as the page shows it.
    for device in (b.PHONE, b.PHONE_LANDSCAPE, b.TABLET):
        screenshots.compare(args, lambda args, play: b.play_session(args, play, device=device), close_enough,
                            lambda game, picture: game.displayed(picture, [screenshots.ICON]))

    # In full screen, a phone held upright (which says turning it gives more)
    # turned mid-dialog: the same line stays up and taps land where it now is.
    def full_screen(game, on):
        x, y = game.evaluate("(() => { const r = document.getElementById('fullscreen').getBoundingClientRect();"
                             " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        game.page("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        game.page("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        h.wait_until(lambda: game.evaluate("!!document.fullscreenElement") == on, h.STEP_TIMEOUT, 0.1, "full screen")

    def turned(demo):
        demo.wait_menu()
        full_screen(demo.game, True)
        demo.start()
        demo.wait_line(h.OPENING[0][0])
        demo.go_on()
        picture = demo.wait_line(h.OPENING[1][0])
        before = demo.game.scale
        h.check(not demo.game.evaluate("document.getElementById('turn').hidden"), "no hint to turn the phone")
        demo.game.emulate(b.PHONE_LANDSCAPE._replace(name="phone, turned"))
        h.check(demo.game.locate(moved=True) > before, "turning the phone did not enlarge the picture")
        h.check(demo.shows_line(demo.game.screenshot(), h.OPENING[1][0]), "turning the phone lost the line")
        h.check(demo.game.evaluate("document.getElementById('turn').hidden"), "the hint to turn a turned phone")
        demo.game.displayed(picture, [screenshots.ICON])
        demo.go_on()
        demo.play_lines([text for text, _ in h.OPENING[2:]])
        demo.open_menu(demo.obj("Policia"))
        full_screen(demo.game, False)

    b.play_session(args, turned, device=b.PHONE)
    offline_and_updated(args)
    slow_processor(args)


def offline_and_updated(args):
    """The page starts again offline; a new build replaces the kept one."""
    kept = "navigator.serviceWorker.ready.then(() => caches.keys()).then((k) => k.join())"
    with tempfile.TemporaryDirectory() as folder, b.Server(folder) as server:
        shutil.copytree(args.web, folder, dirs_exist_ok=True)
        browser = b.Browser(server.url, device=b.PHONE)
        try:
            browser.find_window()
            build = h.wait_until(lambda: browser.evaluate(kept), h.STEP_TIMEOUT, 0.2, "the page's files kept")
            browser.reload(offline=True)
            h.Demo(browser, args.root, args.render_tool).wait_menu()
            # A new build: another worker fingerprint, another page.
            for name, old, new in (("sw.js", 'BUILD = "', 'BUILD = "new'),
                                   ("index.html", "</head>", "<meta name=build>")):
                path = pathlib.Path(folder, name)
                path.write_text(path.read_text().replace(old, new))
            browser.reload()
            h.wait_until(lambda: browser.evaluate("!document.getElementById('update').hidden"),
                         h.STEP_TIMEOUT, 0.2, "the page to say a new build is ready")
            h.wait_until(lambda: browser.evaluate(kept) == build.replace("demo-", "demo-new"),
                         h.STEP_TIMEOUT, 0.2, "only the new build's files kept")
            browser.reload(offline=True)
            h.check(browser.evaluate("!!document.querySelector('meta[name=build]')"), "the old build came back")
        finally:
            browser.kill()


def slow_processor(args):
    """Processor six times slower, every frame 100 ms over budget (the frame
    hook kept busy): the page still repaints and a click starts the game."""
    with b.Server(args.web) as server:
        browser = b.Browser(server.url, throttle=6)
        try:
            browser.find_window()
            demo = h.Demo(browser, args.root, args.render_tool)
            demo.wait_menu()
            browser.evaluate("(() => { const shown = Module.onFrame; Module.onFrame = () => { shown();"
                             " const t = performance.now(); while (performance.now() - t < 100) {} }; })()")
            painted = browser.evaluate("new Promise((done) => { let n = 0; const t0 = performance.now();"
                                       " (function paint(t) { if (t - t0 > 2000) done(n); else { n++;"
                                       " requestAnimationFrame(paint); } })(t0); })")
            h.check(painted >= 8, "the page painted %d times in 2 s" % painted)
            demo.start()
            demo.wait_line(h.OPENING[0][0])
            overruns = sum(line.startswith("CPU OV ") for line in browser.output())
            h.check(overruns >= 10, "only %d frames overran" % overruns)
        finally:
            browser.kill()


def desktop(args):
    # Twice as large: every click must still land where the game draws.
    def enlarged(demo):
        h.check(demo.game.scale == 2, "the canvas is shown %d times as large" % demo.game.scale)
        demo.through_opening()

    b.play_session(args, enlarged, b.LARGE_WINDOW)

    screenshots.compare(args, b.play_session, close_enough)

    # The page's files are in /res; the game says so as on the desktop.
    for name, how, message, last in [
        ("main.png", "missing", "SDL could not load image.bmp: ",
         "Could not load res/main.png: there is no such file in /res"),
        ("Vera.ttf", "broken", "Unable to load font: ", "Could not load res/Vera.ttf: it is not a "
         "font the game can read (damaged, or in another format)"),
    ]:
        with tempfile.TemporaryDirectory() as folder, b.Server(folder) as server:
            damaged_page(args, folder, name, how)
            browser = b.Browser(server.url)
            try:
                test_bad_input.expect_missing(browser, message, last)
                shown = browser.evaluate(
                    "document.getElementById('fatal').hidden ? '' : document.getElementById('fatal').innerText"
                )
                h.check(browser.output()[2] in shown, "the page shows %r, not the loader's message" % shown)
            finally:
                browser.kill()


def player(args):
    """The player's page alone (--web) given the script demo (--game, zipped)
    in its address and by a drop, and zips it must refuse, with findings."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copytree(args.web, folder, dirs_exist_ok=True)
        shutil.make_archive(os.path.join(folder, "demo"), "zip", args.game)
        with open(os.path.join(folder, "broken.zip"), "wb") as f:
            f.write(b"PK\x03\x04" + bytes(200))
        with zipfile.ZipFile(os.path.join(folder, "outside.zip"), "w") as z, zipfile.ZipFile(os.path.join(folder, "demo.zip")) as demo:
            for name in demo.namelist():
                z.writestr(name, demo.read(name))
            z.writestr("../outside", "a path that leaves the game")
        with b.Server(folder) as server:
            for query, drop in (("?game=demo.zip", None), ("", os.path.join(folder, "demo.zip"))):
                browser = b.Browser(server.url + query)
                try:
                    if drop:
                        h.wait_until(lambda: browser.evaluate("!document.getElementById('open').hidden"),
                                     h.START_TIMEOUT, 0.2, "the page to ask for a game")
                        for kind in ("dragEnter", "dragOver", "drop"):
                            browser.page("Input.dispatchDragEvent", type=kind, x=200, y=200,
                                         data={"items": [], "files": [drop], "dragOperationsMask": 1})
                    browser.find_window()
                    h.Demo(browser, args.root, args.render_tool).through_opening()
                finally:
                    browser.kill()
            for query, said in (("?game=broken.zip", "game.zip"), ("?game=outside.zip", "../outside"),
                                ("?game=http://example.com/demo.zip", "este sitio")):
                browser = b.Browser(server.url + query)
                try:
                    status = browser.wait_exit()
                    shown = browser.evaluate("document.getElementById('fatal').hidden ? ''"
                                             " : document.getElementById('fatal').innerText")
                    h.check(status != 0 and said in shown, "%s: status %r, the page shows %r" % (query, status, shown))
                    h.check(not browser.evaluate("!!Module.FS && Module.FS.analyzePath('/outside').exists"),
                            "%s: something was written outside the game" % query)
                finally:
                    browser.kill()


def test(args):
    h.check(os.path.exists(os.path.join(args.web, "index.html")),
            "no web page in %s: scripts/web could not build it (its output says why)" % args.web)
    for part, run in (("desktop", desktop), ("touch", touch)):
        if args.part in (part, "all"):
            run(args)
    if args.part == "player":
        player(args)


def options(parser):
    parser.add_argument("--web", required=True, help="the page's folder")
    parser.add_argument("--part", choices=("desktop", "touch", "player", "all"), default="all",
                        help="the mouse on a desktop, or touch screens, offline and a slow processor;"
                        " or the player's page (--web) given the script demo (--game)")


if __name__ == "__main__":
    h.run(test, options)
