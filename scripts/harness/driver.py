"""Drives the real game the way a player does: a private X server (Xvfb) per
user, so its pointer moves never reach another program's windows; the game's
standard output read line by line while it runs; the pointer moved and
clicked with xdotool at window coordinates; pictures of the window taken with
ImageMagick's `import`; the window closed as a window manager would, with a
WM_DELETE_WINDOW message."""

import os
import subprocess
import sys
import tempfile
import threading
import time

# python3-xlib is a Debian package: when another python3 comes first in PATH,
# run the script again with the system's.
try:
    from Xlib import X, display as xdisplay, protocol
except ImportError:
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath(
        "/usr/bin/python3"
    ):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("python3-xlib is missing: run scripts/setup")

from harness.checks import EXIT_TIMEOUT, START_TIMEOUT, STEP_TIMEOUT, Failure, check, wait_until
from harness.content import HEIGHT, WIDTH, WINDOW_TITLE
from harness.pictures import parse_netpbm, save_png

SCREEN = "1024x768x24"


# --- The X server ------------------------------------------------------------


class XServer:
    """A private Xvfb on a free display number, for the life of a `with` block."""

    def __init__(self, screen=SCREEN):
        self.screen = screen
        self.process = None
        self.name = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp"],
            pass_fds=(write_end,),
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        os.close(write_end)
        # Xvfb writes the display number it took once it accepts connections.
        number = b""
        deadline = time.monotonic() + START_TIMEOUT
        while not number.endswith(b"\n"):
            check(time.monotonic() < deadline, "Xvfb did not start")
            chunk = os.read(read_end, 16)
            check(chunk, "Xvfb ended before it was ready")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return False


# --- The game ----------------------------------------------------------------


class Player:
    """What the play-through steps need of a running game besides its input
    and pictures: its standard output so far (`lines`, guarded by the
    condition `changed`) and waiting for a line or for the screen."""

    def running(self):
        raise NotImplementedError

    def ended(self):
        """True once the game's output is complete."""
        raise NotImplementedError

    def output(self):
        with self.changed:
            return list(self.lines)

    def wait_for_line(self, line, timeout=START_TIMEOUT):
        """Waits until `line` has been printed (exactly, trailing blanks included)."""
        with self.changed:
            ok = self.changed.wait_for(lambda: line in self.lines or self.ended(), timeout)
            check(
                ok and line in self.lines,
                "the game did not print %r; it printed %r" % (line, self.lines),
            )

    def screenshot(self, path=None):
        raise NotImplementedError

    def wait_screen(self, predicate, what, timeout=STEP_TIMEOUT):
        """Takes pictures until predicate(picture) holds; returns that picture."""
        last = [None]

        def look():
            check(self.running(), "the game ended: %r" % self.output())
            last[0] = self.screenshot()
            return last[0] if predicate(last[0]) else None

        try:
            return wait_until(look, timeout, 0.05, what)
        except Failure:
            if last[0] is not None:
                keep = os.path.join(tempfile.gettempdir(), "e2e-last-%d.png" % os.getpid())
                save_png(last[0], keep)
                raise Failure("timed out waiting for %s (last picture: %s)" % (what, keep))
            raise


class Game(Player):
    """The real program, running on `xserver` with `cwd` as working directory.

    `program` is the executable's path, or a list: the executable and its
    arguments. `launcher` (e.g. ["wine"]) comes before it on the command line.
    When the program writes its standard output to a file (`stdout_file`,
    relative to `cwd`) instead of the pipe, that file is followed instead."""

    def __init__(self, program, cwd, xserver=None, env=None, launcher=(), stdout_file=None,
                 title=WINDOW_TITLE):
        self.command = [program] if isinstance(program, str) else list(program)
        self.binary = self.command[0]
        self.title = title
        self.cwd = cwd
        self.xserver = xserver
        self.lines = []  # standard output so far, one entry per line, newline removed
        self.changed = threading.Condition()
        self.closed_stdout = False
        self.window = None
        self.x = None
        self.scale = 1  # window pixels per game pixel: a whole multiple on a big screen
        environment = dict(os.environ)
        environment["SDL_AUDIODRIVER"] = "dummy"
        # Only the X server given here, never the desktop's own Wayland one.
        environment.pop("WAYLAND_DISPLAY", None)
        if xserver is not None:
            environment["DISPLAY"] = xserver.name
        else:
            environment.pop("DISPLAY", None)
        environment.update(env or {})
        self.env = environment
        self.stdout_file = stdout_file and os.path.join(cwd, stdout_file)
        self.process = subprocess.Popen(
            list(launcher) + self.command,
            cwd=cwd,
            env=environment,
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL if stdout_file else subprocess.PIPE,
            stderr=subprocess.PIPE,
        )
        self.stderr = b""
        reader = self._follow_stdout_file if stdout_file else self._read_stdout
        threading.Thread(target=reader, daemon=True).start()
        threading.Thread(target=self._read_stderr, daemon=True).start()

    def _add_line(self, raw):
        with self.changed:
            self.lines.append(raw.decode("utf-8", "replace").rstrip("\n"))
            self.changed.notify_all()

    def _read_stdout(self):
        for raw in self.process.stdout:
            self._add_line(raw)
        with self.changed:
            self.closed_stdout = True
            self.changed.notify_all()

    def _follow_stdout_file(self):
        """Reads the output file as it grows, until the program has ended and
        everything it wrote is read. `raw_stdout` keeps its exact bytes."""
        self.raw_stdout = b""
        pending = b""
        handle = None
        while True:
            ended = self.process.poll() is not None
            if handle is None and os.path.exists(self.stdout_file):
                handle = open(self.stdout_file, "rb")
            chunk = handle.read() if handle else b""
            self.raw_stdout += chunk
            pending += chunk
            *complete, pending = pending.split(b"\n")
            for raw in complete:
                self._add_line(raw)
            if ended and not chunk:
                break
            time.sleep(0 if chunk else 0.02)
        if pending:
            self._add_line(pending)
        if handle:
            handle.close()
        with self.changed:
            self.closed_stdout = True
            self.changed.notify_all()

    def _read_stderr(self):
        self.stderr = self.process.stderr.read()

    # Standard output

    def ended(self):
        return self.closed_stdout

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """The exit status, once the program has ended and its output is read."""
        try:
            status = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %ds" % timeout)
        with self.changed:
            self.changed.wait_for(lambda: self.closed_stdout, 10)
        return status

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def running(self):
        return self.process.poll() is None

    # The window

    def _xlib(self):
        if self.x is None:
            self.x = xdisplay.Display(self.xserver.name)
        return self.x

    def find_window(self, timeout=START_TIMEOUT):
        """Waits for the viewable top-level window with the game's title; returns its id."""
        x = self._xlib()

        def look():
            check(self.process.poll() is None, "the game ended before its window showed: %r" % self.lines)
            for child in x.screen().root.query_tree().children:
                try:
                    if child.get_wm_name() != self.title:
                        continue
                    attributes = child.get_attributes()
                except Exception:  # the window went away meanwhile
                    continue
                if attributes.map_state == X.IsViewable:
                    return child
            return None

        self.window = wait_until(look, timeout, 0.1, "the %r window" % self.title)
        return self.window.id

    def _xdotool(self, *args):
        subprocess.run(
            ["xdotool"] + [str(a) for a in args],
            env={**os.environ, "DISPLAY": self.xserver.name},
            check=True,
            timeout=STEP_TIMEOUT,
        )

    def move(self, x, y, *then):
        """Moves the pointer to (x, y) in game pixels (the middle of a scaled one)."""
        k = self.scale
        self._xdotool("mousemove", "--window", self.window.id, x * k + k // 2, y * k + k // 2, *then)

    def click(self, x, y):
        """Moves the pointer to (x, y) and clicks the left button there."""
        self.move(x, y, "click", 1)

    def screenshot(self, path=None):
        """The window's picture now, as an Image; also saved at `path` if given."""
        # A scaled window's game pixels are squares: one pixel of each is the picture.
        sample = ["-filter", "point", "-resize", "%dx%d!" % (WIDTH, HEIGHT)] if self.scale > 1 else []
        result = subprocess.run(
            ["import", "-silent", "-window", str(self.window.id)] + sample + ["-depth", "8", "pam:-"],
            env={**os.environ, "DISPLAY": self.xserver.name},
            capture_output=True,
            timeout=STEP_TIMEOUT,
        )
        check(result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace"))
        image = parse_netpbm(result.stdout)
        if path:
            save_png(image, path)
        return image

    def close(self):
        """Asks the window to close, as a window manager does when the user
        clicks its close box: a WM_PROTOCOLS message carrying WM_DELETE_WINDOW."""
        x = self._xlib()
        protocols = x.intern_atom("WM_PROTOCOLS")
        delete = x.intern_atom("WM_DELETE_WINDOW")
        check(
            delete in (self.window.get_wm_protocols() or []),
            "the window does not take WM_DELETE_WINDOW",
        )
        event = protocol.event.ClientMessage(
            window=self.window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])
        )
        self.window.send_event(event, event_mask=X.NoEventMask)
        x.sync()
