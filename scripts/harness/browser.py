"""Plays the web page in headless Chromium with harness.Game's methods, so the
same steps (harness.Demo) run on either. The page is served on 127.0.0.1;
Chromium is driven through the DevTools protocol over fds 3 and 4 (JSON ended
by NUL): real mouse events at the page point that shows a game pixel,
pictures of the canvas as the page shows it, standard output from the console.

As a Device (Chromium's phone or tablet emulation) it plays by touch, reading
the game's pictures from the canvas; displayed() checks what the page shows.
"""

import base64
import collections
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


# A touch screen of width x height CSS pixels at `ratio` device pixels each.
Device = collections.namedtuple("Device", "name width height ratio")
PHONE = Device("phone in portrait", 390, 844, 3)
PHONE_LANDSCAPE = Device("phone in landscape", 844, 390, 3)
TABLET = Device("tablet", 820, 1180, 2)

# Reads a picture shown at any scale back at the middle of each game pixel.
GAME_PIXELS = ("-depth", "8", "-alpha", "off", "-sample", "%dx%d!" % (h.Demo.W, h.Demo.H))


def convert(data, *options):
    return subprocess.run(["convert", "-"] + list(options), input=data, capture_output=True, check=True,
                          timeout=60).stdout


# The game's next frame, read as it is drawn (a WebGL canvas keeps nothing).
GRAB_FRAME = """new Promise((resolve) => {
  const shown = Module.onFrame;
  Module.onFrame = () => { shown(); Module.onFrame = shown; resolve(Module.canvas.toDataURL()); };
})"""


class Server:
    """Serves `folder` on 127.0.0.1 at a free port, for a `with` block."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        # (path, status) of every request, in order.
        self.requests = self.httpd.requests = []
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

    def log_request(self, code="-", size="-"):
        self.server.requests.append((self.path, int(code)))


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
            # Chromium's own scratch folders go with the profile: a browser
            # that is killed would leave them in /tmp, one set per run.
            env=dict(os.environ, TMPDIR=self.profile.name),
        )
        os.close(commands_read)
        os.close(events_write)
        threading.Thread(target=self._read, daemon=True).start()
        self.target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=self.target, flatten=True)["sessionId"]
        self.page("Runtime.enable")
        self.page("Page.enable")
        self.device = device and self.emulate(device)
        if throttle:
            self.page("Emulation.setCPUThrottlingRate", rate=throttle)
        self.page("Page.navigate", url=url)

    def emulate(self, device):
        """Becomes `device` at once (turning a phone mid-game is this)."""
        self.device = device
        upright = device.height > device.width
        self.page("Emulation.setDeviceMetricsOverride", width=device.width, height=device.height, mobile=True,
                  deviceScaleFactor=device.ratio, screenWidth=device.width, screenHeight=device.height,
                  screenOrientation={"type": ("portrait" if upright else "landscape") + "Primary",
                                     "angle": 0 if upright else 90})
        self.page("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        return device

    def reload(self, offline=False):
        """Loads the page again (from a network that is gone if `offline`) and
        waits for the game to start."""
        with self.changed:
            self.lines.clear()
            self.exit_status = None
        self.page("Network.enable")
        self.page("Network.emulateNetworkConditions", offline=offline, latency=0, downloadThroughput=-1,
                  uploadThroughput=-1)
        self.page("Page.reload")
        return self.find_window()

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
                elif text.startswith(("demo-exit ", "kz-exit ")):  # the demo's page, the SDK's
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
        """The value of `expression`, a promise's once it is settled."""
        result = self.page("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
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

    def find_window(self, timeout=h.START_TIMEOUT, started="Starting Demo"):
        """Waits for the game to have started (printed `started`); learns
        where the canvas is."""
        self.wait_for_line(started, timeout)
        return self.locate()

    def locate(self, moved=False):
        """Where the canvas is once settled (if `moved`, elsewhere than before):
        whole scale on a desktop; on a device all on screen, no scrolling."""
        where = ("(() => { const r = document.getElementById('canvas').getBoundingClientRect(),"
                 " v = visualViewport, e = document.scrollingElement; return [r.left + scrollX, r.top + scrollY,"
                 " r.width, r.height, v.offsetLeft, v.offsetTop, v.width, v.height, scrollX, scrollY,"
                 " e.scrollWidth - e.clientWidth, e.scrollHeight - e.clientHeight]; })()")
        before, seen = getattr(self, "box", None), []

        def settled():
            seen.append(self.evaluate(where))
            return len(seen) > 3 and seen[-4:].count(seen[-1]) == 4 and not (moved and seen[-1] == before)

        h.wait_until(settled, h.STEP_TIMEOUT, 0.1, "the page's layout to settle")
        self.box = seen[-1]
        left, top, width, height, vx, vy, vw, vh, sx, sy, over_x, over_y = self.box
        self.left, self.top, self.scale = left, top, width / h.Demo.W
        whole = self.scale == int(self.scale) or self.device
        h.check(abs(height - h.Demo.H * self.scale) < 0.1 and whole, "the canvas is shown at %gx%g" % (width, height))
        if not self.device:
            self.scale = int(self.scale)
            return self.scale
        h.check(vx <= left and vy <= top and left + width <= vx + vw + 0.01 and top + height <= vy + vh + 0.01,
                "%s: the canvas at %r is not all on the screen %r" % (self.device.name, self.box[:4], self.box[4:8]))
        h.check(sx == sy == 0 and over_x <= 0 and over_y <= 0, "%s: the page scrolls" % self.device.name)
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
        """The canvas as Chromium shows it, in device pixels: PNG bytes (on a
        device, the whole screen's, cut at the device pixels the page put
        the canvas on)."""
        size = h.Demo.W * self.scale, h.Demo.H * self.scale
        if not self.device:
            return base64.b64decode(self.page("Page.captureScreenshot", format="png", clip={
                "x": self.left, "y": self.top, "width": size[0], "height": size[1], "scale": 1})["data"])
        box = [round(v * self.device.ratio) for v in size + (self.left, self.top)]
        return convert(base64.b64decode(self.page("Page.captureScreenshot", format="png")["data"]),
                       "-crop", "%dx%d+%d+%d" % tuple(box), "+repage", "png:-")

    def screenshot(self, path=None):
        """The game's picture, one pixel per game pixel: on a desktop the
        canvas as the page shows it, on a device as the game drew it."""
        if self.device:
            png = base64.b64decode(self.evaluate(GRAB_FRAME).split(",", 1)[1])
        image = h.parse_netpbm(convert(png if self.device else self._capture(), *GAME_PIXELS, "ppm:-"))
        if path:
            h.save_png(image, path)
        return image

    def displayed(self, picture, spare=()):
        """Checks that the page shows `picture` at its scale, which blends game
        pixels: read back at each game pixel's middle, each channel is within
        its 3 x 3 neighbourhood's range +-3 (rounding), `spare` boxes aside."""
        shown = convert(self._capture(), *GAME_PIXELS, "rgb:-")
        ppm = b"P6 %d %d 255\n" % (h.Demo.W, h.Demo.H) + bytes(picture.data)
        low, high = (convert(ppm, "-morphology", m, "Square:1", "-depth", "8", "rgb:-") for m in ("Erode", "Dilate"))
        outside = [divmod(i // 3, h.Demo.W)[::-1] for i, (v, lo, hi) in enumerate(zip(shown, low, high))
                   if v < lo - 3 or v > hi + 3]
        outside = [(px, py) for px, py in outside
                   if not any(x - 1 <= px <= x + w and y - 1 <= py <= y + hh for x, y, w, hh in spare)]
        h.check(not outside, "%s: %d pixels not shown as drawn: %r" % (self.device.name, len(outside), outside[:3]))

    def close(self):
        """Closing the tab is quitting."""
        self.send("Target.closeTarget", targetId=self.target)

    def kill(self):
        self.process.kill()
        self.process.wait()
        self.profile.cleanup()


def play_session(args, play, window=SMALL_WINDOW, folder=None, device=None):
    """Serves the page (args.web, or `folder`), opens it in Chromium, calls
    play(demo) and closes the tab as a player does. The game must still be
    running then, and have printed what the desktop game prints up to that
    point: closing the tab ends it at once, so it never prints the end line."""
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
