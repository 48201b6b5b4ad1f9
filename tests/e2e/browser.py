"""Plays the web page in headless Chromium with harness.Game's methods, so the
same steps (harness.Demo) run on either. The page is served on 127.0.0.1;
Chromium is driven through the DevTools protocol over fds 3 and 4 (JSON ended
by NUL): real mouse events at the page point that shows a game pixel,
pictures of the canvas as the page shows it, standard output from the console.

With a Device, Chromium emulates a phone or tablet (its screen, device pixel
ratio and touch screen) and the game is played by touch alone: a click is a
tap, pointing is sliding a finger onto the thing. The game's pictures are then
read from the canvas itself, as the game drew them, because the page shows
them at a smooth fractional scale; displayed() holds what the page shows to
them.
"""

import base64
import functools
import http.server
import json
import os
import subprocess
import tempfile
import threading

import harness as h

# Windows in which the page shows the canvas at its own size and twice as large.
SMALL_WINDOW = (900, 700)
LARGE_WINDOW = (1400, 1400)


class Device:
    """A touch screen of width x height CSS pixels at `ratio` device pixels each."""

    def __init__(self, name, width, height, ratio):
        self.name, self.width, self.height, self.ratio = name, width, height, ratio

    def turned(self):
        return Device(self.name + ", turned", self.height, self.width, self.ratio)


PHONE = Device("phone in portrait", 390, 844, 3)
PHONE_LANDSCAPE = Device("phone in landscape", 844, 390, 3)
TABLET = Device("tablet", 820, 1180, 2)

# Takes the game's next frame from the canvas as it is drawn, before the
# browser shows it (after that a WebGL canvas keeps nothing to read).
GRAB_FRAME = """new Promise((resolve) => {
  const shown = Module.onFrame;
  Module.onFrame = () => { shown(); Module.onFrame = shown; resolve(Module.canvas.toDataURL()); };
})"""


class Server:
    """Serves `folder` on 127.0.0.1 at a free port, for a `with` block."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]

    def __enter__(self):
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()
        return False


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Browser(h.Player):
    """The page at `url` in a new headless Chromium with a window of `window`
    = (width, height) CSS pixels, or emulating `device`, with the processor
    `throttle` times slower if given."""

    def __init__(self, url, window=SMALL_WINDOW, device=None, throttle=None):
        self.lines = []  # the game's standard output, one entry per line
        self.changed = threading.Condition()
        self.replies = {}
        self.next_id = 0
        self.exit_status = None
        # Chromium's helper processes may still be writing to it as it goes.
        self.profile = tempfile.TemporaryDirectory(prefix="demo-chromium-", ignore_cleanup_errors=True)
        commands_read, self.commands = os.pipe()
        self.events, events_write = os.pipe()
        self.process = subprocess.Popen(
            [
                "chromium", "--headless=new", "--use-gl=swiftshader", "--enable-unsafe-swiftshader",
                "--remote-debugging-pipe", "--user-data-dir=" + self.profile.name,
                "--no-first-run", "--no-default-browser-check", "--mute-audio",
                "--window-size=%d,%d" % window, "--force-device-scale-factor=1",
                "--hide-scrollbars", "about:blank",
            ]
            # Chromium's sandbox refuses to run as root (CI containers do).
            + (["--no-sandbox"] if os.geteuid() == 0 else []),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            # Chromium reads the protocol from fd 3 and writes it to fd 4.
            pass_fds=(3, 4),
            preexec_fn=lambda: (os.dup2(commands_read, 3), os.dup2(events_write, 4)),
        )
        os.close(commands_read)
        os.close(events_write)
        threading.Thread(target=self._read, daemon=True).start()
        self.target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=self.target, flatten=True)["sessionId"]
        self.page("Runtime.enable")
        self.page("Page.enable")
        self.device = None
        if device:
            self.emulate(device)
        if throttle:
            self.page("Emulation.setCPUThrottlingRate", rate=throttle)
        self.page("Page.navigate", url=url)

    def emulate(self, device):
        """Becomes `device`, at once (turning a phone mid-game is this)."""
        self.device = device
        portrait = device.height > device.width
        self.page("Emulation.setDeviceMetricsOverride", width=device.width, height=device.height,
                  deviceScaleFactor=device.ratio, mobile=True, screenWidth=device.width,
                  screenHeight=device.height,
                  screenOrientation={"type": "portraitPrimary" if portrait else "landscapePrimary",
                                     "angle": 0 if portrait else 90})
        self.page("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def reload(self, offline=False):
        """Loads the page again, from a network that is gone if `offline`."""
        with self.changed:
            self.lines.clear()
            self.exit_status = None
        self.page("Network.enable")
        self.page("Network.emulateNetworkConditions", offline=offline, latency=0,
                  downloadThroughput=-1, uploadThroughput=-1)
        self.page("Page.reload", ignoreCache=False)

    # The protocol

    def _read(self):
        buffer = b""
        while True:
            chunk = os.read(self.events, 1 << 16)
            if not chunk:
                break
            buffer += chunk
            while b"\0" in buffer:
                raw, buffer = buffer.split(b"\0", 1)
                self._receive(json.loads(raw))
        with self.changed:
            self.exit_status = "browser gone" if self.exit_status is None else self.exit_status
            self.changed.notify_all()

    def _receive(self, message):
        with self.changed:
            if "id" in message:
                self.replies[message["id"]] = message
            elif message.get("method") == "Runtime.consoleAPICalled":
                args = message["params"]["args"]
                text = " ".join(str(a.get("value", "")) for a in args)
                # The page logs standard output with console.log, all else otherwise.
                if message["params"]["type"] == "log":
                    self.lines.extend(text.split("\n"))
                elif text.startswith("demo-exit "):
                    status = text.split()[1]
                    self.exit_status = int(status) if status.isdigit() else status
            self.changed.notify_all()

    def send(self, method, session=None, **params):
        with self.changed:
            self.next_id += 1
            ident = self.next_id
        message = {"id": ident, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        with self.changed:
            ok = self.changed.wait_for(lambda: ident in self.replies, h.STEP_TIMEOUT)
            h.check(ok, "Chromium did not answer %s" % method)
            reply = self.replies.pop(ident)
        h.check("error" not in reply, "%s: %s" % (method, reply.get("error")))
        return reply["result"]

    def page(self, method, **params):
        return self.send(method, self.session, **params)

    def evaluate(self, expression):
        result = self.page("Runtime.evaluate", expression=expression, returnByValue=True)
        return result["result"].get("value")

    # Standard output, as harness.Game

    def ended(self):
        return self.exit_status is not None

    def wait_exit(self, timeout=h.EXIT_TIMEOUT):
        """The status the game ended with (the page logs it), once it has."""
        with self.changed:
            ok = self.changed.wait_for(lambda: self.exit_status is not None, timeout)
        h.check(ok, "the game did not end within %ds" % timeout)
        return self.exit_status

    def running(self):
        return self.exit_status is None

    # The canvas

    def find_window(self, timeout=h.START_TIMEOUT):
        """Waits for the game to have started; learns where the canvas is."""
        self.wait_for_line("Starting Demo", timeout)
        return self.locate()

    def locate(self):
        """Where the page shows the canvas now, once its layout has settled
        for the window it has (a turned phone refits a moment later). On a
        desktop the picture is a whole multiple of the game's; on a device
        it must lie wholly inside the visible screen, the page not scrolled
        nor able to scroll."""
        where = (
            "(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
            " const v = visualViewport, e = document.scrollingElement;"
            " return [r.left + scrollX, r.top + scrollY, r.width, r.height, innerWidth, innerHeight,"
            " v.offsetLeft, v.offsetTop, v.width, v.height, scrollX, scrollY,"
            " e.scrollWidth - e.clientWidth, e.scrollHeight - e.clientHeight]; })()"
        )
        settled = []

        def steady():
            box = self.evaluate(where)
            size = (self.device.width, self.device.height) if self.device else tuple(box[4:6])
            same = settled and settled[-1] == box and tuple(box[4:6]) == size
            settled.append(box)
            return same

        h.wait_until(steady, h.STEP_TIMEOUT, 0.1, "the page's layout to settle")
        left, top, width, height, _, _, vx, vy, vw, vh, sx, sy, over_x, over_y = settled[-1]
        self.left, self.top, self.scale = left, top, width / h.Demo.W
        h.check(abs(height - h.Demo.H * self.scale) < 0.1, "the canvas is shown at %gx%g" % (width, height))
        if not self.device:
            h.check(self.scale == int(self.scale), "the canvas is shown at %gx%g" % (width, height))
            self.scale = int(self.scale)
            return self.scale
        name = self.device.name
        h.check(vx <= left and vy <= top and left + width <= vx + vw + 0.01 and top + height <= vy + vh + 0.01,
                "%s: the canvas at %r does not fit the visible screen %r" % (name, settled[-1][:4], (vx, vy, vw, vh)))
        h.check(sx == 0 and sy == 0 and over_x <= 0 and over_y <= 0,
                "%s: the page scrolls (at %g, %g; %g and %g more to scroll)" % (name, sx, sy, over_x, over_y))
        return self.scale

    def _at(self, x, y):
        """The page point in the middle of game pixel (x, y)."""
        return self.left + (x + 0.5) * self.scale, self.top + (y + 0.5) * self.scale

    def _mouse(self, kind, x, y, **extra):
        px, py = self._at(x, y)
        self.page("Input.dispatchMouseEvent", type=kind, x=px, y=py, **extra)

    def _touch(self, kind, *points):
        self.page("Input.dispatchTouchEvent", type=kind,
                  touchPoints=[dict(zip("xy", self._at(x, y))) for x, y in points])

    def move(self, x, y):
        if not self.device:
            self._mouse("mouseMoved", x, y)
            return
        # A finger has no hover: it slides onto the thing from a place
        # where touching does nothing, and lifts there.
        fx, fy = h.Demo.NEUTRAL
        self._touch("touchStart", (fx, fy))
        for i in range(1, 5):
            self._touch("touchMove", (fx + (x - fx) * i // 4, fy + (y - fy) * i // 4))
        self._touch("touchEnd")

    def click(self, x, y):
        if self.device:
            self._touch("touchStart", (x, y))
            self._touch("touchEnd")
            return
        self._mouse("mouseMoved", x, y)
        self._mouse("mousePressed", x, y, button="left", buttons=1, clickCount=1)
        self._mouse("mouseReleased", x, y, button="left", buttons=0, clickCount=1)

    def _capture(self):
        """The canvas's part of the page as Chromium shows it, in device
        pixels: PNG bytes. The whole screen is taken and the canvas's box cut
        out on device pixels, where the page places it."""
        if not self.device:
            shot = self.page("Page.captureScreenshot", format="png", clip={
                "x": self.left, "y": self.top, "width": h.Demo.W * self.scale,
                "height": h.Demo.H * self.scale, "scale": 1})
            return base64.b64decode(shot["data"])
        ratio = self.device.ratio
        shot = base64.b64decode(self.page("Page.captureScreenshot", format="png")["data"])
        box = [round(v * ratio) for v in (self.left, self.top, h.Demo.W * self.scale, h.Demo.H * self.scale)]
        return subprocess.run(["convert", "png:-", "-crop", "%dx%d+%d+%d" % tuple(box[2:] + box[:2]), "+repage",
                               "png:-"], input=shot, capture_output=True, check=True, timeout=60).stdout

    def screenshot(self, path=None):
        """The game's picture, one pixel per game pixel: on a desktop the
        canvas as the page shows it, on a device as the game drew it."""
        if self.device:
            data = self.page("Runtime.evaluate", expression=GRAB_FRAME, awaitPromise=True,
                             returnByValue=True)["result"]["value"]
            png = base64.b64decode(data.split(",", 1)[1])
        else:
            png = self._capture()
        image = h.parse_netpbm(subprocess.run(
            ["convert", "png:-", "-depth", "8", "-alpha", "off", "-sample",
             "%dx%d!" % (h.Demo.W, h.Demo.H), "ppm:-"],
            input=png, capture_output=True, check=True, timeout=60,
        ).stdout)
        if path:
            h.save_png(image, path)
        return image

    def displayed(self, picture, spare=()):
        """Checks that the page shows `picture` (the game's, as screenshot()
        gives it) at its scale. A smooth scale blends each game pixel with its
        neighbours, so every device pixel shown, read back at the middle of
        each game pixel, must lie within the range of that game pixel and its
        eight neighbours, give or take the renderers' rounding (3 levels); at
        a whole scale every game pixel is a square of device pixels, which the
        same reading gives back exactly. `spare` boxes (x, y, w, h: things
        that move on their own) are left out, one pixel around included."""
        shown = subprocess.run(
            ["convert", "png:-", "-depth", "8", "-alpha", "off", "-sample",
             "%dx%d!" % (h.Demo.W, h.Demo.H), "rgb:-"],
            input=self._capture(), capture_output=True, check=True, timeout=60,
        ).stdout
        ppm = b"P6 %d %d 255\n" % (h.Demo.W, h.Demo.H) + bytes(picture.data)

        def neighbourhood(how):
            return subprocess.run(["convert", "ppm:-", "-morphology", how, "Square:1", "-depth", "8", "rgb:-"],
                                  input=ppm, capture_output=True, check=True, timeout=60).stdout

        low, high = neighbourhood("Erode"), neighbourhood("Dilate")
        outside = [i // 3 for i, (v, lo, hi) in enumerate(zip(shown, low, high)) if v < lo - 3 or v > hi + 3]
        spared = lambda p: any(x - 1 <= p % h.Demo.W <= x + w and y - 1 <= p // h.Demo.W <= y + hh  # noqa: E731
                               for x, y, w, hh in spare)
        outside = [p for p in outside if not spared(p)]
        h.check(not outside, "%s: %d pixels shown differ from the game's picture beyond what the scale of %g "
                "explains, the first at %r" % (self.device.name if self.device else "desktop", len(outside),
                                               self.scale, outside and divmod(outside[0], h.Demo.W)[::-1]))

    def close(self):
        """Closing the tab is quitting."""
        self.send("Target.closeTarget", targetId=self.target)

    def kill(self):
        self.process.kill()
        self.process.wait()
        self.profile.cleanup()


def play_session(args, play, window=SMALL_WINDOW, folder=None, device=None):
    """Serves the page (args.web, or `folder`), opens it in Chromium (with the
    window, or as the device), calls play(demo) and closes the tab as a player
    does. The game must still be running then, and have printed what the
    desktop game prints up to that point: closing the tab ends it at once, so
    it never prints the end line."""
    with Server(folder or args.web) as server:
        browser = Browser(server.url, window, device)
        try:
            browser.find_window()
            play(h.Demo(browser, args.root, args.render_tool))
            h.check(browser.running(), "the game ended during play: %r" % browser.output())
            lines = browser.output()
            browser.close()
        finally:
            browser.kill()
    h.expect_clean_session(lines + ["Ending Demo "])
