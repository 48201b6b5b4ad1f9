"""Plays the web page in headless Chromium with harness.Game's methods, so the
same steps (harness.Demo) run on either. The page is served on 127.0.0.1;
Chromium is driven through the DevTools protocol over fds 3 and 4 (JSON ended
by NUL): real mouse events at the page point that shows a game pixel,
pictures of the canvas as the page shows it, standard output from the console.
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
    = (width, height) CSS pixels."""

    def __init__(self, url, window=SMALL_WINDOW):
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
        self.page("Page.navigate", url=url)

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

    def find_window(self, timeout=h.START_TIMEOUT, started="Starting Demo"):
        """Waits for the game to have started (printed `started`); learns
        where the canvas is."""
        self.wait_for_line(started, timeout)
        box = self.evaluate(
            "(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
            " return [r.left + scrollX, r.top + scrollY, r.width, r.height]; })()"
        )
        self.left, self.top, width, height = box
        self.scale = width / h.Demo.W
        h.check(self.scale == int(self.scale) and height == h.Demo.H * self.scale,
                "the canvas is shown at %gx%g" % (width, height))
        self.scale = int(self.scale)
        return self.scale

    def _at(self, x, y):
        """The page point in the middle of game pixel (x, y)."""
        return self.left + (x + 0.5) * self.scale, self.top + (y + 0.5) * self.scale

    def _mouse(self, kind, x, y, **extra):
        px, py = self._at(x, y)
        self.page("Input.dispatchMouseEvent", type=kind, x=px, y=py, **extra)

    def move(self, x, y):
        self._mouse("mouseMoved", x, y)

    def click(self, x, y):
        self._mouse("mouseMoved", x, y)
        self._mouse("mousePressed", x, y, button="left", buttons=1, clickCount=1)
        self._mouse("mouseReleased", x, y, button="left", buttons=0, clickCount=1)

    def screenshot(self, path=None):
        """The canvas as the page shows it, one pixel per game pixel."""
        size = h.Demo.W * self.scale, h.Demo.H * self.scale
        shot = self.page(
            "Page.captureScreenshot", format="png",
            clip={"x": self.left, "y": self.top, "width": size[0], "height": size[1], "scale": 1},
        )
        image = h.parse_netpbm(subprocess.run(
            ["convert", "png:-", "-depth", "8", "-alpha", "off", "-sample",
             "%dx%d!" % (h.Demo.W, h.Demo.H), "ppm:-"],
            input=base64.b64decode(shot["data"]), capture_output=True, check=True, timeout=60,
        ).stdout)
        if path:
            h.save_png(image, path)
        return image

    def close(self):
        """Closing the tab is quitting."""
        self.send("Target.closeTarget", targetId=self.target)

    def kill(self):
        self.process.kill()
        self.process.wait()
        self.profile.cleanup()


def play_session(args, play, window=SMALL_WINDOW, folder=None):
    """Serves the page (args.web, or `folder`), opens it in Chromium, calls
    play(demo) and closes the tab as a player does. The game must still be
    running then, and have printed what the desktop game prints up to that
    point: closing the tab ends it at once, so it never prints the end line."""
    with Server(folder or args.web) as server:
        browser = Browser(server.url, window)
        try:
            browser.find_window()
            play(h.Demo(browser, args.root, args.render_tool))
            h.check(browser.running(), "the game ended during play: %r" % browser.output())
            lines = browser.output()
            browser.close()
        finally:
            browser.kill()
    h.expect_clean_session(lines + ["Ending Demo "])
