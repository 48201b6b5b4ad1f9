"""The web page in headless Chromium with real pointer input: the whole
play-through compared with the desktop goldens, the opening with the canvas
enlarged twice, and a page with a missing picture or a broken font, which
must show the loader's message and stop.

The browser draws through WebGL (SwiftShader here) where the desktop draws
through Mesa's llvmpipe. Both filter and blend the same textures at the same
places, but round differently: about a tenth of the pixels of a step come
out one level (rarely two) off in a channel. close_enough allows exactly
that much; a misplaced, missing or wrongly coloured thing is off by far more.
"""

import os
import re
import shutil
import tempfile

import browser as b
import harness as h
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


def test(args):
    h.check(os.path.exists(os.path.join(args.web, "index.html")),
            "no web page in %s: scripts/web could not build it (its output says why)" % args.web)
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


if __name__ == "__main__":
    h.run(test, lambda parser: parser.add_argument("--web", required=True, help="the page's folder"))
