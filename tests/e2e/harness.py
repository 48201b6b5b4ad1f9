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

WINDOW_TITLE = "Demo"
SCREEN = "1024x768x24"
# Generous limits for a slow, shared machine (two cores, a browser or Wine
# beside the game, other work besides): reaching one is a failure, so they
# are far above what any run takes, and no test waits for them otherwise.
START_TIMEOUT = 120
STEP_TIMEOUT = 60
EXIT_TIMEOUT = 60


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
        ["convert", path, "-depth", "8", "-alpha", "on", "pam:-"],
        check=True, capture_output=True, timeout=60,
    ).stdout
    return parse_netpbm(blob)


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
    """The real binary, running on `xserver` with `cwd` as working directory.

    `launcher` (e.g. ["wine"]) comes before the binary on the command line.
    When the program writes its standard output to a file (`stdout_file`,
    relative to `cwd`) instead of the pipe, that file is followed instead."""

    def __init__(self, binary, cwd, xserver=None, env=None, launcher=(), stdout_file=None,
                 title=WINDOW_TITLE):
        self.binary = binary
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
            list(launcher) + [binary],
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
        sample = ["-filter", "point", "-resize", "%dx%d!" % (Demo.W, Demo.H)] if self.scale > 1 else []
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
    share of text-white screen pixels (within the text's box) that are glyph
    pixels. Both are 1.0 for the very same text at the very same place."""
    glyph = white = both = 0
    # Only the text's own box: the rest of the texture is blank by design and
    # may lie over other things drawn in white (the strip's icon).
    width, height = mask.size
    for y in range(height):
        sy = top + y
        if sy < 0 or sy >= screen.height:
            continue
        row = y * mask.width
        for x in range(width):
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


def shows_text(screen, mask, left, top, precision_needed=1.0, recall_needed=1.0):
    """The screen shows the text of `mask` at (left, top): every glyph pixel is
    white (the game's text is SDL_ttf's to the pixel: a lost accent fails; text
    drawn by other means may ask less), and every white pixel around is a glyph
    pixel (over the scene, pictures may be white: callers there ask less)."""
    recall, precision = text_match(screen, mask, left, top)
    return recall >= recall_needed and precision >= precision_needed


# Precision asked of text drawn straight over the scene's pictures.
OVER_SCENE = 0.85


def background_difference(screen, reference, box, exclude=()):
    """Mean absolute difference per channel between two window pictures over
    box = (left, top, width, height), leaving out the rectangles in `exclude`."""
    left, top, width, height = box
    total = count = 0
    for y in range(top, top + height):
        for x in range(left, left + width):
            if any(ex <= x < ex + ew and ey <= y < ey + eh for ex, ey, ew, eh in exclude):
                continue
            a, b = screen.rgb(x, y), reference.rgb(x, y)
            total += abs(a[0] - b[0]) + abs(a[1] - b[1]) + abs(a[2] - b[2])
            count += 3
    return total / count if count else 0.0


def picture_difference(screen, picture, left, top, bottom=None):
    """Mean absolute difference per channel between the screen and an RGBA
    `picture` drawn with its corner at (left, top), over the picture's opaque
    pixels above window row `bottom`."""
    bottom = screen.height if bottom is None else bottom
    total = count = 0
    for y in range(picture.height):
        sy = top + y
        if sy < 0 or sy >= bottom:
            continue
        for x in range(picture.width):
            sx = left + x
            if sx < 0 or sx >= screen.width:
                continue
            p = picture.pixel(x, y)
            if p[3] < 250:
                continue
            a = screen.rgb(sx, sy)
            total += abs(a[0] - p[0]) + abs(a[1] - p[1]) + abs(a[2] - p[2])
            count += 3
    return total / count if count else 255.0


# --- Running a test script ---------------------------------------------------


def arguments(extra=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True, help="the game executable")
    parser.add_argument("--root", required=True, help="the directory that holds res/")
    parser.add_argument("--render-tool", help="the text tool built beside the game (render_line)")
    if extra:
        extra(parser)
    args = parser.parse_args()
    args.binary = os.path.abspath(args.binary)
    args.root = os.path.abspath(args.root)
    return args


def run(test, extra=None):
    """Runs test(args) and turns its outcome into an exit status for CTest.
    extra(parser), if given, adds the test's own options."""
    args = arguments(extra)
    try:
        test(args)
        print("PASSED", flush=True)
    except Failure as failure:
        print("FAILED: %s" % failure, flush=True)
        sys.exit(1)


def window_size_is(demo, size):
    geometry = demo.game.window.get_geometry()
    shown = (geometry.width, geometry.height)
    check(shown == size, "window %r, expected %r" % (shown, size))


def play_on_big_screen(demo):
    """On a 2560 x 1600 screen: the window three times as large (four times
    does not fit), and the opening, a name and a verb menu played at the
    enlarged places."""
    window_size_is(demo, (1920, 1440))
    demo.game.scale = 3
    demo.through_opening()
    demo.hover(demo.obj("Lagartija"))
    demo.open_menu(demo.obj("Lagartija"))


def play_session(args, play, binary=None, cwd=None, start=None, screen=SCREEN):
    """Runs the game (args.binary, or `binary`, from args.root or `cwd`; or
    start(xserver), another build of it) in a private X server with a screen
    of `screen`, calls play(demo), closes the window as a user does, checks
    that the session ended normally and returns the ended Game."""
    with XServer(screen) as xserver:
        game = start(xserver) if start else Game(binary or args.binary, cwd or args.root, xserver)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            play(Demo(game, args.root, args.render_tool))
            game.close()
            status = game.wait_exit()
        finally:
            game.kill()
    check(status == 0, "exit status %r after closing the window" % status)
    expect_clean_session(game.output())
    return game


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


# --- The demo, as a player sees it --------------------------------------------

OPENING = [
    # (line, portrait on screen: 1 or 2)
    ("Buenos dias comisario", 1),
    ("Lamento haberlo hecho venir de improviso, pero este caso lo amerita", 1),
    ("El cadaver ya fue retirado y enviado a la morgue", 1),
    ("La causa de la muerte fue decapitamiento, el asesino le arranco brutalmente la cabeza", 1),
    ("La cabeza de la victima sigue desaparecida", 2),
    ("De igual manera, no hemos encontrado el arma homicida", 2),
    ("Lo dejo para que investigue, no dude en preguntarme cualquier duda que tenga", 1),
]

VERBS = ["Hablar", "Examinar", "Recoger", "Mover"]


class DemoObject:
    """One object of the investigation scene: where it is, what it offers and
    what it says (for the bin, what it says while the knife is still inside)."""

    def __init__(self, name, picture, x, y, verbs, lines):
        self.name = name
        self.picture = picture
        self.x = x
        self.y = y
        self.verbs = verbs
        self.lines = lines
        self.width = self.height = None  # from the picture, see Demo.__init__

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def rect(self):
        return self.x, self.y, self.width, self.height


def demo_objects():
    return [
        DemoObject(
            "Lagartija", "lagartija.png", 20, 290, VERBS,
            {
                "Hablar": [
                    "No pienso hablarle a una lagartija, las lagartijas no hablan",
                    "¿O si?",
                    "Hola lagartija",
                    "...",
                ],
                "Examinar": ["Parece una lagartija comun y corriente tomando sol"],
                "Recoger": ["Ouch!", "Me mordio..."],
                "Mover": ["No creo que quiera moverse, parece comoda tomando sol"],
            },
        ),
        DemoObject(
            "Silueta", "silueta.png", 380, 320, ["Examinar", "Recoger", "Mover"],
            {
                "Examinar": [
                    "Aca yacia el cuerpo de la victima",
                    "Hay manchas de sangre verde por todas partes",
                ],
                "Recoger": ["Como se supone que recoga algo que esta pintado"],
                "Mover": ["Sera mejor que no toque nada"],
            },
        ),
        DemoObject(
            "Policia", "policia.png", 400, 80, ["Hablar", "Examinar"],
            {
                "Hablar": ["Quizas luego"],
                "Examinar": ["Es un policia comun y corriente, un poco desaliñado quizas"],
            },
        ),
        DemoObject(
            "Basurero", "basurero2.png", 280, 190, VERBS,
            {
                "Hablar": ["¿Hay alguien viviendo ahi dentro?", "...", "No hay respuesta"],
                "Examinar": [
                    "Quizas el asesino escondio algo en este lugar",
                    "...",
                    "Hay algo extraño en el fondo",
                ],
                "Recoger": [
                    "No se si deba meter la mano ahi...",
                    "Todo sea por la justicia!",
                    "Aca dentro hay un cuchillo",
                    "Lo guardare como evidencia",
                ],
                "Mover": ["Esta firmemente apernado al piso"],
            },
        ),
    ]


# What the bin says once the knife has been taken.
BIN_AFTER_KNIFE = {"Examinar": ["No parece haber nada mas"], "Recoger": ["Ya he cogido el cuchillo"]}


class Demo:
    """Plays the demo through a running Game: finds what should be on screen
    from the game's own pictures and text renderer, and waits for it.
    `record(step, picture)`, if given, receives a picture of every step.
    Another game on the same framework passes its own `objects`."""

    W, H = 640, 480
    LINE_AT = (20, 380)  # the dialog strip's text corner
    LINE_WIDTH = 540  # the strip wraps its lines at this width
    LINE_SIZE = 18
    LABEL_SIZE = 20
    BUTTON_SIZE = 18
    BUTTON_MARGIN = 5
    MENU_W, MENU_H = 100, 128  # the verb menu's nominal size
    STRIP_TOP = 368  # the strip's backdrop starts here
    START_AT = (420, 390)  # "Empezar"
    NEUTRAL = (620, 20)  # a point over no object, for clicks that only go on

    def __init__(self, game, root, tool, record=None, objects=None):
        check(tool and os.path.exists(tool), "the text tool is missing: %r" % tool)
        self.game = game
        self.root = root
        self.tool = tool
        self.record = record or (lambda step, picture: None)
        self.masks = {}
        self.objects = demo_objects() if objects is None else objects
        for obj in self.objects:
            pic = load_picture(os.path.join(root, "res", obj.picture))
            obj.width, obj.height = pic.width, pic.height
        self._portraits = None
        self.background = None  # the menu's picture: the bare background, once seen

    def obj(self, name):
        return next(o for o in self.objects if o.name == name)

    def mask(self, text, size, width):
        key = (text, size, width)
        if key not in self.masks:
            self.masks[key] = render_text(self.tool, self.root, text, size, width)
        return self.masks[key]

    # The menu

    def wait_menu(self):
        """Waits for the main menu; keeps its picture as the bare background."""
        button = self.mask("Empezar", self.BUTTON_SIZE, -1)
        picture = self.game.wait_screen(
            lambda im: shows_text(im, button, *self.START_AT, OVER_SCENE),
            "the main menu's \"Empezar\"",
            START_TIMEOUT,
        )
        self.background = picture
        self.record("menu", picture)
        return picture

    def start(self):
        """Clicks "Empezar"."""
        x, y = self.START_AT
        self.game.click(x + 10, y + 10)

    # The dialog strip

    def line_mask(self, text):
        return self.mask(text, self.LINE_SIZE, self.LINE_WIDTH)

    def shows_line(self, picture, text):
        return shows_text(picture, self.line_mask(text), *self.LINE_AT)

    def wait_line(self, text, step=None):
        picture = self.game.wait_screen(
            lambda im: self.shows_line(im, text), "the line %r in the dialog strip" % text
        )
        self.record(step or "line", picture)
        return picture

    def go_on(self):
        """Clicks over no object, which only finishes the current line."""
        self.game.click(*self.NEUTRAL)

    def strip_box(self):
        """The part of the strip that no object covers: left of the outline,
        below the lizard, clear of the menu's button."""
        return (0, self.STRIP_TOP + 4, 370, self.H - self.STRIP_TOP - 8)

    def strip_gone(self, picture):
        """The strip's area shows the bare background again."""
        check(self.background is not None, "no picture of the bare background yet")
        x, y = self.START_AT
        button = (x - 10, y - 10, 120, 50)
        return background_difference(picture, self.background, self.strip_box(), [button]) < 2.0

    def wait_strip_gone(self):
        return self.game.wait_screen(self.strip_gone, "the dialog strip to disappear")

    def play_lines(self, lines, step="line"):
        """Each line in turn, clicked away; then the strip disappears."""
        for i, text in enumerate(lines):
            self.wait_line(text, "%s-%d" % (step, i + 1))
            self.go_on()
        return self.wait_strip_gone()

    # Portraits

    @property
    def portraits(self):
        if self._portraits is None:
            self._portraits = {
                n: load_picture(os.path.join(self.root, "res", "personaje%d.png" % n)) for n in (1, 2)
            }
        return self._portraits

    def portrait_place(self, n):
        pic = self.portraits[n]
        return self.W // 2 - pic.width // 2, self.H - pic.height - 100

    def portrait_difference(self, picture, n):
        """How far the centred portrait's place is from showing portrait n."""
        x, y = self.portrait_place(n)
        return picture_difference(picture, self.portraits[n], x, y, self.STRIP_TOP)

    def shows_portrait(self, picture, n):
        other = 2 if n == 1 else 1
        mine = self.portrait_difference(picture, n)
        return mine < 16 and mine < self.portrait_difference(picture, other)

    def no_portrait(self, picture):
        """Where the portraits stand, the bare background (objects aside)."""
        x = min(self.portrait_place(n)[0] for n in (1, 2))
        y = min(self.portrait_place(n)[1] for n in (1, 2))
        box = (x, y, self.W - 2 * x, self.STRIP_TOP - y)
        rects = [o.rect() for o in self.objects]
        return background_difference(picture, self.background, box, rects) < 2.0

    # Objects

    def label_place(self, name):
        mask = self.mask(name, self.LABEL_SIZE, self.W - 100)
        w, h = mask.size
        return mask, self.W // 2 - w // 2, self.H - h

    def shows_label(self, picture, name):
        mask, x, y = self.label_place(name)
        return shows_text(picture, mask, x, y, OVER_SCENE)

    def hover(self, obj):
        """Points at the object and waits for its name at the bottom."""
        self.game.move(*obj.centre())
        picture = self.game.wait_screen(
            lambda im: self.shows_label(im, obj.name), "the label %r" % obj.name
        )
        self.record("hover-" + obj.name, picture)
        return picture

    def menu_corner(self, obj):
        """Where the verb menu opens beside the object, kept on the screen."""
        x = obj.x - self.MENU_W if obj.x > self.W // 2 else obj.x + obj.width
        y = obj.y + obj.height // 2 - self.MENU_H // 2
        x = min(max(x, 0), self.W - self.MENU_W)
        y = min(max(y, 0), self.H - self.MENU_H)
        return x, y

    def button_place(self, obj, index):
        """The caption corner of the index-th button of the object's menu."""
        x, y = self.menu_corner(obj)
        step = self.mask("Hablar", self.BUTTON_SIZE, -1).size[1] + 2 * self.BUTTON_MARGIN
        return x, y + index * step

    def shows_verb(self, picture, obj, index, verb):
        mask = self.mask(verb, self.BUTTON_SIZE, -1)
        return shows_text(picture, mask, *self.button_place(obj, index), OVER_SCENE)

    def shows_menu(self, picture, obj, verbs):
        """The menu beside the object lists exactly `verbs`, in order."""
        if not all(self.shows_verb(picture, obj, i, v) for i, v in enumerate(verbs)):
            return False
        after = len(verbs)
        return not any(self.shows_verb(picture, obj, after, v) for v in VERBS)

    def open_menu(self, obj):
        """Clicks the object and waits for its verb menu."""
        self.game.click(*obj.centre())
        picture = self.game.wait_screen(
            lambda im: self.shows_menu(im, obj, obj.verbs),
            "the verb menu of %s with %r" % (obj.name, obj.verbs),
        )
        self.record("verbs-" + obj.name, picture)
        return picture

    def choose(self, obj, verb):
        """Clicks the verb in the object's open menu."""
        x, y = self.button_place(obj, obj.verbs.index(verb))
        self.game.click(x + 10, y + 8)

    def through_opening(self):
        """From the menu to the end of the opening conversation."""
        self.wait_menu()
        self.start()
        return self.play_lines([text for text, _ in OPENING], "opening")

    def act(self, obj, verb, lines, step=None):
        """Opens the object's menu, chooses the verb and plays its lines."""
        self.open_menu(obj)
        self.choose(obj, verb)
        return self.play_lines(lines, step or "%s-%s" % (obj.name, verb))
