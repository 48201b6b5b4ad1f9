"""The demo's steps as a player takes them (the menu, the opening, pointing at
an object, its verb menu, its lines), found on screen from the game's own
pictures and text renderer; and a whole session: start, play, close, check
the standard output."""

import argparse
import os
import sys

from harness.checks import START_TIMEOUT, Failure, check
from harness.content import DATA, HEIGHT, LAYOUT, OPENING, STDOUT, VERBS, WIDTH, demo_objects
from harness.driver import SCREEN, Game, XServer
from harness.pictures import background_difference, load_picture, picture_difference
from harness.text import OVER_SCENE, render_text, shows_text


def arguments(extra=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True, help="the game executable")
    parser.add_argument("--root", required=True, help="the directory that holds res/")
    parser.add_argument("--render-tool", help="the text tool built beside the game (render_line)")
    parser.add_argument("--game", help="the script game the program plays (for kz: a folder or .zip)")
    if extra:
        extra(parser)
    args = parser.parse_args()
    args.binary = os.path.abspath(args.binary)
    # What the players start: the program and its arguments.
    args.command = [args.binary] + ([os.path.abspath(args.game)] if args.game else [])
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
    """Runs the game (args.command, or `binary`, from args.root or `cwd`; or
    start(xserver), another build of it) in a private X server with a screen
    of `screen`, calls play(demo), closes the window as a user does, checks
    that the session ended normally and returns the ended Game."""
    with XServer(screen) as xserver:
        game = start(xserver) if start else Game(binary or args.command, cwd or args.root, xserver)
        try:
            game.wait_for_line(STDOUT["started"])
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
    check(lines[0] == STDOUT["first"], "first line: %r" % lines[0])
    check(lines[1] == STDOUT["started"], "second line: %r" % lines[1])
    check(lines[-1] == STDOUT["ended"], "last line: %r" % lines[-1])
    overrun = STDOUT["overrun"]
    for line in lines[2:-1]:
        rest = line[len(overrun) :]
        check(
            line.startswith(overrun) and rest.startswith("-") and rest[1:].isdigit(),
            "unexpected line during play: %r" % line,
        )


class Demo:
    """Plays the demo through a running Game: finds what should be on screen
    from the game's own pictures and text renderer, and waits for it.
    `record(step, picture)`, if given, receives a picture of every step.
    Another game on the same framework passes its own `objects`."""

    W, H = WIDTH, HEIGHT
    LINE_AT = tuple(LAYOUT["line_at"])  # the dialog strip's text corner
    LINE_WIDTH = LAYOUT["line_width"]  # the strip wraps its lines at this width
    LINE_SIZE = LAYOUT["line_size"]
    LABEL_SIZE = LAYOUT["label_size"]
    BUTTON_SIZE = LAYOUT["button_size"]
    BUTTON_MARGIN = LAYOUT["button_margin"]
    MENU_W, MENU_H = LAYOUT["menu_size"]  # the verb menu's nominal size
    STRIP_TOP = LAYOUT["strip_top"]  # the strip's backdrop starts here
    START_BUTTON = DATA["menu"]["button"]
    START_AT = tuple(DATA["menu"]["at"])
    NEUTRAL = tuple(LAYOUT["neutral"])  # a point over no object, for clicks that only go on

    def __init__(self, game, root, tool, record=None, objects=None):
        check(tool and os.path.exists(tool), "the text tool is missing: %r" % tool)
        self.game = game
        self.root = root
        self.tool = tool
        self.record = record or (lambda step, picture: None)
        self.masks = {}
        self.objects = demo_objects() if objects is None else objects
        for obj in self.objects:
            pic = load_picture(os.path.join(root, obj.picture))
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
        button = self.mask(self.START_BUTTON, self.BUTTON_SIZE, -1)
        picture = self.game.wait_screen(
            lambda im: shows_text(im, button, *self.START_AT, OVER_SCENE),
            "the main menu's %r" % self.START_BUTTON,
            START_TIMEOUT,
        )
        self.background = picture
        self.record("menu", picture)
        return picture

    def start(self):
        """Clicks the menu's button."""
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
                n: load_picture(os.path.join(self.root, path)) for n, path in enumerate(DATA["portraits"], 1)
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
        step = self.mask(VERBS[0], self.BUTTON_SIZE, -1).size[1] + 2 * self.BUTTON_MARGIN
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


def play_through(demo):
    """The whole demo: the opening, then every object pointed at and every
    verb of it chosen; the bin's taken again and examined once the knife is
    out. What the automatic play-through and the goldens show."""
    demo.through_opening()
    for obj in demo.objects:
        demo.hover(obj)
        for verb in obj.verbs:
            demo.act(obj, verb, obj.lines[verb])
        for verb in ("Recoger", "Examinar"):
            if verb in obj.after_knife:
                demo.act(obj, verb, obj.after_knife[verb], "%s-%s-knife-taken" % (obj.name, verb))
