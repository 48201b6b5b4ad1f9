"""Drives the real game binary the way a player does, for the end-to-end tests
and the automatic play-through of scripts/demo.

Every user of this module gets its own X server (Xvfb), so its pointer moves
never reach another program's windows. The game runs with the repository root
as its working directory; its standard output is read line by line while it
runs; the pointer is moved and clicked with xdotool at window coordinates;
pictures of the window are taken with ImageMagick's `import`; the window is
closed as a window manager would, with a WM_DELETE_WINDOW message.

The game runs at 12 frames per second and the machine may be slow and shared,
so nothing here relies on timings: every wait polls for a condition and gives
up only after a generous timeout.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

# python3-xlib is a Debian package: when another python3 comes first in PATH,
# run the script again with the system's.
try:
    from Xlib import X, Xatom, display as xdisplay, protocol
except ImportError:
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath(
        "/usr/bin/python3"
    ):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

WINDOW_TITLE = "Demo"
SCREEN = "1024x768x24"
# Generous limits for a slow, shared machine; reaching one is a failure.
START_TIMEOUT = 60
STEP_TIMEOUT = 30
EXIT_TIMEOUT = 30


class Failure(Exception):
    """A check of an end-to-end test did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout=STEP_TIMEOUT, interval=0.05, what="a condition"):
    """Polls `predicate` until it returns something true, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %ds waiting for %s" % (timeout, what))
        time.sleep(interval)


# --- Pictures ----------------------------------------------------------------


class Image:
    """An RGB(A) picture held as bytes, row by row from the top-left corner."""

    def __init__(self, width, height, channels, data):
        self.width = width
        self.height = height
        self.channels = channels
        self.data = data
        self.size = (width, height)  # for rendered text: the text's own size

    def pixel(self, x, y):
        """(r, g, b) at (x, y), or (r, g, b, a) for a picture with alpha."""
        i = (y * self.width + x) * self.channels
        return tuple(self.data[i : i + self.channels])

    def rgb(self, x, y):
        i = (y * self.width + x) * self.channels
        return self.data[i], self.data[i + 1], self.data[i + 2]


def parse_netpbm(blob):
    """Reads a binary PPM (P6), PGM (P5) or PAM (P7) with 8-bit samples."""
    if blob.startswith(b"P7"):
        end = blob.index(b"ENDHDR\n") + len(b"ENDHDR\n")
        fields = {}
        for line in blob[:end].decode("ascii").splitlines()[1:-1]:
            key, _, value = line.partition(" ")
            fields[key] = value.strip()
        width, height = int(fields["WIDTH"]), int(fields["HEIGHT"])
        depth, maxval = int(fields["DEPTH"]), int(fields["MAXVAL"])
        check(maxval == 255, "unexpected PAM sample size %d" % maxval)
        return Image(width, height, depth, blob[end : end + width * height * depth])
    magic = blob[:2]
    check(magic in (b"P5", b"P6"), "not a binary netpbm picture")
    # Header: magic, width, height, maxval, separated by white space.
    fields, comments, pos = [], [], 2
    while len(fields) < 3:
        while blob[pos : pos + 1].isspace():
            pos += 1
        if blob[pos : pos + 1] == b"#":
            end = blob.index(b"\n", pos)
            comments.append(blob[pos + 1 : end].decode("ascii", "replace").split())
            pos = end
            continue
        start = pos
        while not blob[pos : pos + 1].isspace():
            pos += 1
        fields.append(int(blob[start:pos]))
    pos += 1
    width, height, maxval = fields
    check(maxval == 255, "unexpected netpbm sample size %d" % maxval)
    channels = 3 if magic == b"P6" else 1
    image = Image(width, height, channels, blob[pos : pos + width * height * channels])
    # The text tool says the text's own size in a comment: "# size W H".
    for words in comments:
        if len(words) == 3 and words[0] == "size":
            image.size = (int(words[1]), int(words[2]))
    return image


def load_picture(path):
    """Any picture ImageMagick reads, as RGBA."""
    blob = subprocess.run(
        ["convert", path, "-depth", "8", "pam:-"], check=True, capture_output=True, timeout=60
    ).stdout
    image = parse_netpbm(blob)
    if image.channels == 4:
        return image
    # Grey or RGB without alpha: widen to RGBA, opaque.
    out = bytearray()
    for i in range(image.width * image.height):
        px = image.data[i * image.channels : (i + 1) * image.channels]
        if image.channels < 3:
            px = bytes([px[0]] * 3)
        out += px[:3] + b"\xff"
    return Image(image.width, image.height, 4, bytes(out))


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


class Game:
    """The real binary, running on `xserver` with `cwd` as working directory."""

    def __init__(self, binary, cwd, xserver=None, env=None):
        self.binary = binary
        self.cwd = cwd
        self.xserver = xserver
        self.lines = []  # standard output so far, one entry per line, newline removed
        self.changed = threading.Condition()
        self.closed_stdout = False
        self.window = None
        self.x = None
        environment = dict(os.environ)
        environment["SDL_AUDIODRIVER"] = "dummy"
        if xserver is not None:
            environment["DISPLAY"] = xserver.name
        else:
            environment.pop("DISPLAY", None)
        environment.update(env or {})
        self.env = environment
        self.process = subprocess.Popen(
            [binary],
            cwd=cwd,
            env=environment,
            stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
        )
        self.stderr = b""
        threading.Thread(target=self._read_stdout, daemon=True).start()
        threading.Thread(target=self._read_stderr, daemon=True).start()

    def _read_stdout(self):
        for raw in self.process.stdout:
            with self.changed:
                self.lines.append(raw.decode("utf-8", "replace").rstrip("\n"))
                self.changed.notify_all()
        with self.changed:
            self.closed_stdout = True
            self.changed.notify_all()

    def _read_stderr(self):
        self.stderr = self.process.stderr.read()

    # Standard output

    def output(self):
        with self.changed:
            return list(self.lines)

    def wait_for_line(self, line, timeout=START_TIMEOUT):
        """Waits until `line` has been printed (exactly, trailing blanks included)."""
        with self.changed:
            ok = self.changed.wait_for(lambda: line in self.lines or self.closed_stdout, timeout)
            check(
                ok and line in self.lines,
                "the game did not print %r; it printed %r" % (line, self.lines),
            )

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

    # The window

    def _xlib(self):
        if self.x is None:
            self.x = xdisplay.Display(self.xserver.name)
        return self.x

    def find_window(self, timeout=START_TIMEOUT):
        """Waits for the viewable top-level window titled "Demo"; returns its id."""
        x = self._xlib()

        def look():
            check(self.process.poll() is None, "the game ended before its window showed: %r" % self.lines)
            for child in x.screen().root.query_tree().children:
                try:
                    if child.get_wm_name() != WINDOW_TITLE:
                        continue
                    attributes = child.get_attributes()
                except Exception:  # the window went away meanwhile
                    continue
                if attributes.map_state == X.IsViewable:
                    return child
            return None

        self.window = wait_until(look, timeout, 0.1, "the %r window" % WINDOW_TITLE)
        return self.window.id

    def geometry(self):
        """(x, y, width, height) of the window, x and y on the screen."""
        g = self.window.get_geometry()
        origin = self.window.translate_coords(self._xlib().screen().root, 0, 0)
        return -origin.x, -origin.y, g.width, g.height

    def _xdotool(self, *args):
        subprocess.run(
            ["xdotool"] + [str(a) for a in args],
            env={**os.environ, "DISPLAY": self.xserver.name},
            check=True,
            timeout=STEP_TIMEOUT,
        )

    def move(self, x, y):
        """Moves the pointer to (x, y) in window pixels."""
        self._xdotool("mousemove", "--window", self.window.id, x, y)

    def click(self, x, y):
        """Moves the pointer to (x, y) and clicks the left button there."""
        self._xdotool("mousemove", "--window", self.window.id, x, y, "click", 1)

    def screenshot(self, path=None):
        """The window's picture now, as an Image; also saved at `path` if given."""
        result = subprocess.run(
            ["import", "-silent", "-window", str(self.window.id), "-depth", "8", "pam:-"],
            env={**os.environ, "DISPLAY": self.xserver.name},
            capture_output=True,
            timeout=STEP_TIMEOUT,
        )
        check(result.returncode == 0, "import failed: %s" % result.stderr.decode(errors="replace"))
        image = parse_netpbm(result.stdout)
        if path:
            save_png(image, path)
        return image

    def wait_screen(self, predicate, what, timeout=STEP_TIMEOUT):
        """Takes pictures until predicate(picture) holds; returns that picture."""
        last = [None]

        def look():
            check(self.process.poll() is None, "the game ended: %r" % self.lines)
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


def save_png(image, path):
    """Writes an Image as a PNG through ImageMagick."""
    kind = {1: "gray", 3: "rgb", 4: "rgba"}[image.channels]
    subprocess.run(
        ["convert", "-size", "%dx%d" % (image.width, image.height), "-depth", "8", "%s:-" % kind, path],
        input=image.data,
        check=True,
        timeout=60,
    )


# --- Text on screen ----------------------------------------------------------


def render_text(tool, root, text, size, width):
    """The mask of `text` as the game's text renderer lays it out: an Image
    with one channel, 255 where a glyph pixel is, 0 elsewhere. `width` is the
    wrapping width in pixels, negative for one line."""
    result = subprocess.run(
        [tool, os.path.join(root, "res", "Vera.ttf"), str(size), str(width)],
        input=text.encode("utf-8"),
        capture_output=True,
        timeout=60,
    )
    check(result.returncode == 0, "render tool failed: %r" % result.stdout[:200])
    return parse_netpbm(result.stdout)


def is_text_pixel(rgb):
    """Text is drawn white; anything this bright counts as text."""
    return min(rgb) >= 235


def text_match(screen, mask, left, top):
    """How well the screen shows `mask` with its corner at (left, top): the
    share of the mask's glyph pixels that are text-white on screen, and the
    share of text-white screen pixels (within the mask's box) that are glyph
    pixels. Both are 1.0 for the very same text at the very same place."""
    glyph = white = both = 0
    for y in range(mask.height):
        sy = top + y
        if sy < 0 or sy >= screen.height:
            continue
        row = y * mask.width
        for x in range(mask.width):
            sx = left + x
            if sx < 0 or sx >= screen.width:
                continue
            on = mask.data[row + x] > 127
            lit = is_text_pixel(screen.rgb(sx, sy))
            glyph += on
            white += lit
            both += on and lit
    recall = both / glyph if glyph else 0.0
    precision = both / white if white else 0.0
    return recall, precision


def shows_text(screen, mask, left, top, threshold=0.97):
    recall, precision = text_match(screen, mask, left, top)
    return recall >= threshold and precision >= threshold


def region_difference(a, b, box, mask=None):
    """Mean absolute difference per channel between pictures `a` and `b` over
    box = (left, top, width, height); with `mask` (an RGBA picture the size of
    the box), only where the mask is opaque."""
    left, top, width, height = box
    total = count = 0
    for y in range(height):
        for x in range(width):
            if mask is not None and mask.pixel(x, y)[3] < 250:
                continue
            pa = a.rgb(left + x, top + y)
            pb = b.rgb(left + x, top + y) if isinstance(b, Image) and b.channels != 4 else b.pixel(x, y)[:3]
            total += abs(pa[0] - pb[0]) + abs(pa[1] - pb[1]) + abs(pa[2] - pb[2])
            count += 3
    return total / count if count else 0.0


# --- Running a test script ---------------------------------------------------


def arguments(extra=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True, help="the game executable")
    parser.add_argument("--root", required=True, help="the directory that holds res/")
    parser.add_argument("--render-tool", help="the text rendering tool (default: beside the binary)")
    if extra:
        extra(parser)
    args = parser.parse_args()
    args.binary = os.path.abspath(args.binary)
    args.root = os.path.abspath(args.root)
    if not args.render_tool:
        args.render_tool = default_render_tool(args.binary)
    return args


def default_render_tool(binary):
    """The tests' text tool lives in the build tree next to the game."""
    build = os.path.dirname(binary)
    for candidate in (
        os.path.join(build, "tests", "render_line"),
        os.path.join(build, "render_line"),
    ):
        if os.path.exists(candidate):
            return candidate
    return None


def run(test):
    """Runs test(args) and turns its outcome into an exit status for CTest."""
    args = arguments()
    try:
        test(args)
    except Failure as failure:
        print("FAILED: %s" % failure, flush=True)
        sys.exit(1)
    print("PASSED", flush=True)


def expect_clean_session(lines):
    """A normal session prints the start lines, then nothing but frame
    overrun lines, then the end line."""
    check(len(lines) >= 3, "too little output: %r" % lines)
    check(lines[0] == "Graphic initialization successful ", "first line: %r" % lines[0])
    check(lines[1] == "Starting Demo", "second line: %r" % lines[1])
    check(lines[-1] == "Ending Demo ", "last line: %r" % lines[-1])
    for line in lines[2:-1]:
        rest = line[len("CPU OV ") :]
        check(
            line.startswith("CPU OV ") and rest.startswith("-") and rest[1:].isdigit(),
            "unexpected line during play: %r" % line,
        )


def which(program):
    return shutil.which(program) is not None
