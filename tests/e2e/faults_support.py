"""Broken resource files for the fault tests: the table of expected outcomes,
the making of every broken or unusual form of a file, sessions of the real
game on a temporary copy of res/, and the comparison of their screens.

The expected outcome of every (file, case) lives in one place, the table in
docs/FAULTS.md; test_faults.py reads it and fails when any case behaves
otherwise."""

import os
import random
import re
import shutil
import struct
import subprocess
import threading
import time
import zlib

import harness as h

# --- The files the game loads and how it draws them ---------------------------

# How each file is used, which decides how a picture of another size must be
# laid out to look the same on screen:
#   font       the TrueType font
#   stretched  drawn squeezed or stretched to a fixed size (background,
#              dialog strip, its icon, the buttons' backdrop)
#   corner     drawn at its own size from its top-left corner (objects)
#   portrait   drawn at its own size, centred, standing on the dialog strip
ROLES = {
    "Vera.ttf": "font",
    "main.png": "stretched",
    "opaque.png": "stretched",
    "pressbutton.png": "stretched",
    "personaje1.png": "portrait",
    "personaje2.png": "portrait",
    "lagartija.png": "corner",
    "silueta.png": "corner",
    "policia.png": "corner",
    "basurero2.png": "corner",
    "body1.png": "corner",
}
PICTURES = [name for name, role in ROLES.items() if role != "font"]

# Cases that break a file, and cases that give a picture in another form.
BROKEN = ["missing", "empty", "truncated", "random", "directory", "unreadable"]
FONT_CASES = BROKEN + ["picture"]
PICTURE_CASES = BROKEN + [
    "jpeg", "bmp", "palette", "grey", "16-bit", "odd-width-24", "npot", "large",
]

OUTCOMES = ["stops at start", "stops on Empezar", "runs", "not loaded"]

# Forms whose content differs from the original: the game must draw exactly
# what a plain RGBA PNG of the same content gives.
REFERENCED = ["jpeg", "bmp", "palette", "grey", "16-bit", "odd-width-24"]
# Forms that change the picture's size: compared with the original game
# within a tolerance, since the background and the strip's icon are
# resampled from a picture of another size (see docs/FAULTS.md).
RESIZED = ["npot", "large"]
LARGE_SIDE = 8192


class Case:
    """One row of the table: a file, a case, the expected outcome and what
    the game prints (the message when it stops, or the warnings each load
    of the picture prints when it runs)."""

    def __init__(self, name, case, outcome, printed):
        self.name = name
        self.case = case
        self.outcome = outcome
        self.printed = printed

    def __repr__(self):
        return "%s %s" % (self.name, self.case)


ROW = re.compile(r"^\|\s*`([^`]+)`\s*\|\s*`([^`]+)`\s*\|([^|]*)\|([^|]*)\|\s*$")


def read_table(path):
    """The rows of the fault table, in order."""
    cases = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = ROW.match(line.rstrip("\n"))
            if not m:
                continue
            name, case = m.group(1), m.group(2)
            outcome = m.group(3).strip()
            printed = re.findall(r"`([^`]*)`", m.group(4))
            h.check(name in ROLES, "table: unknown file %r" % name)
            h.check(outcome in OUTCOMES, "table: unknown outcome %r for %s %s" % (outcome, name, case))
            cases.append(Case(name, case, outcome, printed))
    return cases


def check_table_complete(cases):
    """Every file with every case that applies to it, once."""
    seen = {(c.name, c.case) for c in cases}
    h.check(len(seen) == len(cases), "table: a case is listed twice")
    for name, role in ROLES.items():
        for case in FONT_CASES if role == "font" else PICTURE_CASES:
            h.check((name, case) in seen, "table: no row for %s %s" % (name, case))
    extra = seen - {(n, c) for n, r in ROLES.items() for c in (FONT_CASES if r == "font" else PICTURE_CASES)}
    h.check(not extra, "table: rows for unknown cases %r" % sorted(extra))


# --- Pictures ------------------------------------------------------------------


def convert(*args):
    subprocess.run(["convert"] + [str(a) for a in args], check=True, capture_output=True, timeout=120)


def rgba_pixels(path):
    """(width, height, RGBA bytes row by row) of any picture ImageMagick reads."""
    picture = h.load_picture(path)
    return picture.width, picture.height, picture.data


def write_png(path, width, height, rows, depth=8):
    """Writes an RGBA PNG of 8 or 16 bits per sample; rows(y) gives row y's
    bytes. Written by hand
    with no filter and fast compression: a picture of 8192 x 8192 takes well
    under a second to write and little time to read back."""
    compressor = zlib.compressobj(1)
    parts = []
    for y in range(height):
        parts.append(compressor.compress(b"\0" + rows(y)))
    parts.append(compressor.flush())

    def chunk(kind, data):
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", b"".join(parts)))
        f.write(chunk(b"IEND", b""))


def resized(original, path, role, width, height):
    """The picture at another size, laid out so the game shows what it shows
    with the original: a corner object or a portrait keeps its pixels where
    they were on screen, with transparent space around them; a stretched
    picture is scaled up by whole factors (or resampled when they do not
    divide)."""
    w, h_, data = rgba_pixels(original)
    if role == "stretched":
        if width % w == 0 and height % h_ == 0:
            fx, fy = width // w, height // h_
            wide = [
                b"".join(data[(y * w + x) * 4 : (y * w + x) * 4 + 4] * fx for x in range(w))
                for y in range(h_)
            ]
            write_png(path, width, height, lambda y: wide[y // fy])
        else:
            convert(original, "-resize", "%dx%d!" % (width, height), "-depth", "8", "PNG32:" + path)
        return
    # Sprites leave the top 0.5% of a picture's rows out and stretch the rest
    # over the picture's height, so rows land lower by that share of the
    # height: a portrait, standing on the strip, keeps its bottom row in
    # place; an object keeps its top, which moves down by 0.5% of the added
    # height (to the nearest row: the rest is a fraction of a pixel).
    if role == "portrait":
        # Centred on the window's middle by its width, standing on the strip.
        dx, dy = width // 2 - w // 2, height - h_
    else:
        dx, dy = 0, int(round(0.005 * (height - h_)))
    blank = bytes(width * 4)
    left, right = bytes(dx * 4), bytes((width - dx - w) * 4)

    def row(y):
        if dy <= y < dy + h_:
            return left + data[(y - dy) * w * 4 : (y - dy + 1) * w * 4] + right
        return blank

    write_png(path, width, height, row)


def npot_size(w, h_):
    """Sides a quarter larger and not powers of two."""
    return w + w // 4 + 1, h_ + h_ // 4 + 1


def make_form(original, path, name, form):
    """Puts the file `name` (its original at `original`) at `path` in `form`."""
    role = ROLES[name]
    seed = sum(name.encode())  # the same bytes on every run
    if form == "original":
        shutil.copyfile(original, path)
    elif form == "missing":
        pass
    elif form == "empty":
        open(path, "wb").close()
    elif form == "truncated":
        with open(original, "rb") as f:
            data = f.read()
        with open(path, "wb") as f:
            f.write(data[: len(data) // 2])
    elif form == "random":
        with open(path, "wb") as f:
            f.write(random.Random(seed).randbytes(4096))
    elif form == "directory":
        os.mkdir(path)
    elif form == "unreadable":
        shutil.copyfile(original, path)
        os.chmod(path, 0)
    elif form == "picture":
        # A picture under the font's name.
        shutil.copyfile(os.path.join(os.path.dirname(original), "main.png"), path)
    elif form == "jpeg":
        convert(original, "-background", "black", "-alpha", "remove", "-alpha", "off",
                "-quality", "95", "JPEG:" + path)
    elif form == "bmp":
        convert(original, "-background", "black", "-alpha", "remove", "-alpha", "off",
                "-type", "TrueColor", "BMP3:" + path)
    elif form == "palette":
        convert(original, "PNG8:" + path)
    elif form == "grey":
        convert(original, "-background", "black", "-alpha", "remove", "-alpha", "off",
                "-colorspace", "Gray", "-depth", "8", "-define", "png:color-type=0", "PNG:" + path)
    elif form == "16-bit":
        # Each sample v becomes v * 257, which reads back as v exactly.
        w, h_, data = rgba_pixels(original)
        wide = bytearray(len(data) * 2)
        wide[0::2] = data
        wide[1::2] = data
        write_png(path, w, h_, lambda y: wide[y * w * 8 : (y + 1) * w * 8], depth=16)
    elif form == "odd-width-24":
        w, h_, _ = rgba_pixels(original)
        convert(original, "-crop", "%dx%d+0+0" % (w - 1, h_), "+repage", "-background", "black",
                "-alpha", "remove", "-alpha", "off", "-type", "TrueColor", "PNG24:" + path)
    elif form == "npot":
        w, h_, _ = rgba_pixels(original)
        resized(original, path, role, *npot_size(w, h_))
    elif form == "large":
        resized(original, path, role, LARGE_SIDE, LARGE_SIDE)
    elif form.startswith("rgba-of-"):
        # The content of another form, as a plain 8-bit RGBA PNG.
        other = path + ".form"
        make_form(original, other, name, form[len("rgba-of-"):])
        convert(other, "-depth", "8", "PNG32:" + path)
        os.remove(other)
    else:
        raise h.Failure("unknown form %r" % form)


# --- Sessions of the game --------------------------------------------------------

FIRST_LINES = ["Graphic initialization successful ", "Starting Demo"]
START = (430, 400)  # on "Empezar"
NEUTRAL = (620, 20)  # over no object: a click there only finishes a line
LINE_AT = (20, 380)
LINE_SIZE, LINE_WIDTH, BUTTON_SIZE = 18, 540, 18
EMPEZAR_AT = (420, 390)
# The strip's icon (40 x 32 at x 576) bounces by up to three pixels from
# frame to frame.
ICON_BOX = (572, 410, 52, 46)
# Part of the strip no object covers, for telling it is gone.
STRIP_BOX = (0, 372, 370, 100)
STAGE_TIMEOUT = 30
LARGE_TIMEOUT = 180  # a scene of very large pictures takes long to load
EXIT_TIMEOUT = 30

_masks = {}
_masks_lock = threading.Lock()


def mask(tool, root, text, size, width):
    with _masks_lock:
        key = (text, size, width)
        if key not in _masks:
            _masks[key] = h.render_text(tool, root, text, size, width)
        return _masks[key]


def is_overrun(line):
    rest = line[len("CPU OV "):]
    return line.startswith("CPU OV ") and rest[:1] == "-" and rest[1:].isdigit()


def stderr_trouble(text):
    """Signs on standard error of what must never happen."""
    for sign in ("Assertion", "Sanitizer", "runtime error:", "Segmentation", "Aborted", "LeakSanitizer"):
        if sign in text:
            return sign
    return None


class Session:
    """One run of the game on a temporary res/ in which `forms` maps file
    names to their forms (the rest are the originals). `drive` is "start"
    (expected to stop before any click), "empezar" (expected to stop once
    "Empezar" is clicked) or "full" (plays the opening and closes)."""

    def __init__(self, key, forms, drive):
        self.key = key
        self.forms = dict(forms)
        self.drive = drive
        self.status = None
        self.lines = []
        self.stderr = ""
        self.screens = {}
        self.error = None  # what went wrong while driving, if anything
        self.killed = False  # still running when the test gave up on it
        self.stage = "start"  # how far the drive got
        self.seconds = 0.0
        self.cwd = None  # the folder the game ran in, with its copy of res/

    def label(self):
        changed = ", ".join("%s %s" % kv for kv in sorted(self.forms.items()))
        return "%s [%s]" % (self.key, changed or "original files")

    def stage_timeout(self):
        return LARGE_TIMEOUT if "large" in self.forms.values() else STAGE_TIMEOUT

    def needs_other_user(self):
        return "unreadable" in self.forms.values()


def prepare(session, root, workdir):
    """The session's working directory with its own res/."""
    cwd = os.path.join(workdir, session.key)
    res = os.path.join(cwd, "res")
    os.makedirs(res)
    for name in ROLES:
        make_form(os.path.join(root, "res", name), os.path.join(res, name), name,
                  session.forms.get(name, "original"))
    os.chmod(workdir, 0o755)
    os.chmod(cwd, 0o755)
    os.chmod(res, 0o755)
    return cwd


def launcher(binary, cwd, as_other_user):
    """The program to start: the game itself, or (when a file must be
    unreadable and the tests run as root, who reads everything) a script
    that starts the game as the user nobody."""
    if not as_other_user or os.geteuid() != 0:
        return binary
    script = os.path.join(cwd, "run-as-nobody")
    with open(script, "w") as f:
        f.write("#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups %s\n" % binary)
    os.chmod(script, 0o755)
    return script


def grab(game):
    """The window's picture now, read straight from the X server (much
    faster than an external program, so waits can poll often)."""
    from Xlib import X

    g = game.window.get_geometry()
    raw = game.window.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data
    h.check(len(raw) == g.width * g.height * 4, "unexpected picture format from the X server")
    rgb = bytearray(g.width * g.height * 3)
    rgb[0::3] = raw[2::4]  # the server's pixels are B, G, R, unused
    rgb[1::3] = raw[1::4]
    rgb[2::3] = raw[0::4]
    return h.Image(g.width, g.height, 3, bytes(rgb))


def wait_picture(game, predicate, what, timeout=h.STEP_TIMEOUT):
    """Takes pictures until predicate(picture) holds; returns that picture."""
    deadline = time.monotonic() + timeout
    while True:
        h.check(game.process.poll() is None, "the game ended while waiting for %s: %r" % (what, game.output()[-3:]))
        picture = grab(game)
        if predicate(picture):
            return picture
        if time.monotonic() > deadline:
            raise h.Failure("timed out after %ds waiting for %s" % (timeout, what))
        time.sleep(0.03)


def differs_outside_icon(a, b):
    if a is None or b is None:
        return True
    x0, y0, w, hh = ICON_BOX
    stride = a.width * a.channels
    for y in range(a.height):
        ra = a.data[y * stride : (y + 1) * stride]
        rb = b.data[y * stride : (y + 1) * stride]
        if ra == rb:
            continue
        if not (y0 <= y < y0 + hh):
            return True
        c = a.channels
        if ra[: x0 * c] != rb[: x0 * c] or ra[(x0 + w) * c :] != rb[(x0 + w) * c :]:
            return True
    return False


def wait_stable(game, predicate, what, timeout=h.STEP_TIMEOUT):
    """Takes pictures until predicate(picture) holds and the next picture is
    the same apart from the icon's bounce; returns that picture."""
    deadline = time.monotonic() + timeout
    previous = None
    while True:
        h.check(game.process.poll() is None, "the game ended while waiting for %s: %r" % (what, game.output()[-3:]))
        picture = grab(game)
        if predicate(picture) and previous is not None and not differs_outside_icon(picture, previous):
            return picture
        previous = picture if predicate(picture) else None
        if time.monotonic() > deadline:
            raise h.Failure("timed out after %ds waiting for %s" % (timeout, what))
        # Two pictures more than a frame apart (the game draws 12 a second).
        time.sleep(0.1)


def bounces(game, picture):
    """The picture of a still scene in each of the icon's bounce heights
    (the game draws 12 frames a second; a second shows them all)."""
    found = [picture]
    deadline = time.monotonic() + 1.5
    while len(found) < 3 and time.monotonic() < deadline:
        time.sleep(0.03)
        other = grab(game)
        if differs_outside_icon(other, picture):
            break  # the scene moved on: keep what was seen
        if all(region(other, ICON_BOX) != region(p, ICON_BOX) for p in found):
            found.append(other)
    return found


def strip_gone(picture, menu):
    """The strip's area shows the menu's bare background again."""
    x0, y0, w, hh = STRIP_BOX
    return all(
        picture.data[((y * picture.width) + x0) * picture.channels : ((y * picture.width) + x0 + w) * picture.channels]
        == menu.data[((y * menu.width) + x0) * menu.channels : ((y * menu.width) + x0 + w) * menu.channels]
        for y in range(y0, y0 + hh)
    )


def play_opening(session, game, tool, root):
    """Menu, hover on "Empezar", the opening's seven lines, the scene after
    them; pictures of the stages that show every picture the game loads."""
    empezar = mask(tool, root, "Empezar", BUTTON_SIZE, -1)
    menu = wait_stable(
        game, lambda im: h.shows_text(im, empezar, *EMPEZAR_AT, precision_needed=h.OVER_SCENE),
        "the main menu", session.stage_timeout())
    session.screens["menu"] = [menu]
    session.stage = "menu"
    game.move(*START)
    session.screens["menu-hover"] = [wait_stable(
        game, lambda im: differs_outside_icon(im, menu), "the highlight under \"Empezar\"")]
    game.click(*START)
    for i, (text, _) in enumerate(h.OPENING):
        line = mask(tool, root, text, LINE_SIZE, LINE_WIDTH)
        shown = lambda im, line=line: h.shows_text(im, line, *LINE_AT, precision_needed=h.OVER_SCENE)
        timeout = session.stage_timeout() if i == 0 else h.STEP_TIMEOUT
        if i in (0, 4):  # the first officer, then the second
            picture = wait_stable(game, shown, "line %d" % (i + 1), timeout)
            session.screens["line-%d" % (i + 1)] = bounces(game, picture)
        else:
            wait_picture(game, shown, "line %d" % (i + 1), timeout)
        session.stage = "line %d" % (i + 1)
        game.click(*NEUTRAL)
    session.screens["scene"] = [wait_stable(game, lambda im: strip_gone(im, menu), "the end of the opening")]
    session.stage = "scene"


class Screen:
    """An X server for sessions run one after another, with a connection of
    our own held open throughout: Xvfb resets itself whenever its last client
    leaves, and a session starting during such a reset would be refused."""

    def __init__(self):
        from Xlib import display as xdisplay

        self.xserver = h.XServer().__enter__()
        self.name = self.xserver.name
        self.x = xdisplay.Display(self.name)

    def park_pointer(self):
        """Puts the pointer in the screen's corner, away from where the game's
        window appears, so every session starts alike."""
        self.x.screen().root.warp_pointer(1000, 750)
        self.x.sync()

    def close(self):
        self.x.close()
        self.xserver.__exit__(None, None, None)


def run_session(session, args, workdir, screen):
    """Runs one session to its end on `screen`; never raises: what went
    wrong is kept in session.error for the caller to judge against the
    table."""
    started = time.monotonic()
    game = None
    try:
        cwd = session.cwd = prepare(session, args.root, workdir)
        program = launcher(args.binary, cwd, session.needs_other_user())
        screen.park_pointer()
        game = h.Game(program, cwd, screen)
        try:
            if session.drive == "start":
                session.status = game.wait_exit(h.START_TIMEOUT)
            else:
                game.wait_for_line("Starting Demo")
                game.find_window()
                if session.drive == "empezar":
                    empezar = mask(args.render_tool, args.root, "Empezar", BUTTON_SIZE, -1)
                    wait_picture(
                        game,
                        lambda im: h.shows_text(im, empezar, *EMPEZAR_AT, precision_needed=h.OVER_SCENE),
                        "the main menu", session.stage_timeout())
                    session.stage = "menu"
                    game.click(*START)
                    session.status = game.wait_exit(EXIT_TIMEOUT)
                else:
                    play_opening(session, game, args.render_tool, args.root)
                    game.close()
                    session.status = game.wait_exit(EXIT_TIMEOUT)
        finally:
            if session.status is None:
                # The drive failed: give a game that is ending time to end by
                # itself before stopping it.
                try:
                    session.status = game.process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    session.killed = True
            game.kill()
            if getattr(game, "x", None) is not None:
                game.x.close()
    except h.Failure as failure:
        session.error = str(failure)
    except Exception as exc:  # a broken helper must not hide the others' results
        session.error = "%s: %s" % (type(exc).__name__, exc)
    if game is not None:
        session.lines = game.output()
        session.stderr = game.stderr.decode("utf-8", "replace")
    session.seconds = time.monotonic() - started
    return session


# --- Comparing screens ------------------------------------------------------------


def region(picture, box):
    x0, y0, w, hh = box
    c = picture.channels
    rows = []
    for y in range(y0, y0 + hh):
        if 0 <= y < picture.height:
            rows.append(picture.data[(y * picture.width + x0) * c : (y * picture.width + x0 + w) * c])
    return b"".join(rows)


def exact_difference(a, others):
    """None when the screen `a` is the same as one of `others` (pictures of
    the same still scene, the icon at its different heights), else the box
    where it differs from the first."""
    for b in others:
        if a.data == b.data:
            return None
    b = others[0]
    box = None
    c = a.channels
    for y in range(a.height):
        ra = a.data[y * a.width * c : (y + 1) * a.width * c]
        rb = b.data[y * b.width * c : (y + 1) * b.width * c]
        if ra == rb:
            continue
        for x in range(a.width):
            if ra[x * c : x * c + 3] != rb[x * c : x * c + 3]:
                box = (x, y, x, y) if box is None else (
                    min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    return "pixels differ in (%d,%d)-(%d,%d)" % box


def icon_difference(a, others):
    """Mean absolute difference per channel of the icon's box, at the best
    match among `others`."""
    mine = region(a, ICON_BOX)
    return min(sum(abs(p - q) for p, q in zip(mine, region(b, ICON_BOX))) / len(mine) for b in others)


def block_difference(a, others, workdir, tag):
    """Mean absolute difference per channel (0-255) of the two screens, over
    the whole window and over its worst 16 x 16 block, leaving the icon out;
    and over the icon's box at its best match."""
    b = others[0]
    paths = []
    for name, picture in (("a", a), ("b", b)):
        p = os.path.join(workdir, "%s-%s.png" % (tag, name))
        h.save_png(picture, p)
        paths.append(p)
    x0, y0, w, hh = ICON_BOX
    result = subprocess.run(
        ["convert", paths[0], paths[1], "-compose", "difference", "-composite",
         "-fill", "black", "-draw", "rectangle %d,%d %d,%d" % (x0, y0, x0 + w - 1, y0 + hh - 1),
         "-scale", "%dx%d!" % (a.width // 16, a.height // 16), "-depth", "8", "pam:-"],
        capture_output=True, check=True, timeout=60)
    blocks = h.parse_netpbm(result.stdout)
    values = [sum(blocks.data[i : i + 3]) / 3.0 for i in range(0, len(blocks.data), blocks.channels)]
    return sum(values) / len(values), max(values), icon_difference(a, others)
