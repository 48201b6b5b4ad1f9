"""The game in a hostile environment: no display, a display without OpenGL,
floods of input, and the window closed at every stage.

- Without a display, or on an X server without GLX, the game prints one
  clear line and ends with a non-zero status at once (allowed: 10 s).
- Thousands of pointer moves and clicks reaching the game in one frame are
  all handled: the pointer and buttons end as the last event left them, and a
  close request sent within the flood still ends the game. SDL keeps only 128
  events between two frames, so this holds only because the event pump takes
  the events as SDL reads them.
- Closing the window in the menu, in the middle of a line, with a verb menu
  open or in the middle of an object's reaction ends the game normally:
  "Ending Demo " and status 0.
- The automatic play-through (what scripts/demo runs without a display)
  refuses a folder that holds files it did not write, and leaves them be.
- A big screen: the window is the largest whole multiple that fits, played at
  the scaled places (and with no sound device: SDL starts video and the timer
  alone); the player's own SDL12COMPAT_WINDOW_SCALING wins."""

import os
import random
import subprocess
import sys
import tempfile
import time

import harness as h

FLOOD = 6000  # pointer moves in one burst, with a click after every fourth
QUICK_EXIT = 10.0  # seconds allowed to say there is no display


class XServerWithout(h.XServer):
    """A private Xvfb with one X extension turned off (e.g. "GLX")."""

    def __init__(self, extension):
        super().__init__()
        self.extension = extension

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp",
             "-extension", self.extension],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + h.START_TIMEOUT
        while not number.endswith(b"\n"):
            h.check(time.monotonic() < deadline, "Xvfb did not start")
            chunk = os.read(read_end, 16)
            h.check(chunk, "Xvfb ended before it was ready")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        return self


def expect_quick_refusal(args, xserver, what, words):
    """The game refuses to run: one line containing `words`, a non-zero
    status, quickly. Returns the time it took."""
    started = time.monotonic()
    game = h.Game(args.binary, args.root, xserver)
    try:
        status = game.wait_exit(h.EXIT_TIMEOUT)
    finally:
        game.kill()
    seconds = time.monotonic() - started
    lines = game.output()
    h.check(status > 0, "%s: exit status %r" % (what, status))
    h.check(len(lines) == 1 and words in lines[0], "%s: expected one line about %r, got %r" % (what, words, lines))
    h.check(seconds < QUICK_EXIT, "%s: took %.1f s to give up" % (what, seconds))
    return seconds


def no_display(args):
    seconds = expect_quick_refusal(args, None, "no DISPLAY", "no display")
    with XServerWithout("GLX") as xserver:
        seconds_glx = expect_quick_refusal(args, xserver, "no GLX", "GLX")
    print("no display: refused in %.2f s; no GLX: refused in %.2f s" % (seconds, seconds_glx), flush=True)


def window_origin(game):
    """The window's top-left corner on the screen."""
    x = game._xlib()
    origin = game.window.translate_coords(x.screen().root, 0, 0)
    return -origin.x, -origin.y


def flood(game, last_click=None, close=False):
    """Sends FLOOD pointer moves (with clicks over no object) and then, if
    given, a click at `last_click`, and, if asked, the window's close
    request, all while the X server is grabbed, so the game receives them
    together when it is released: in one frame."""
    from Xlib import X, protocol
    from Xlib.ext import xtest

    x = game._xlib()
    ox, oy = window_origin(game)
    rnd = random.Random(7)
    nx, ny = h.Demo.NEUTRAL
    x.grab_server()
    try:
        for i in range(FLOOD):
            xtest.fake_input(x, X.MotionNotify, x=ox + rnd.randrange(640), y=oy + rnd.randrange(480))
            if i % 4 == 3:
                xtest.fake_input(x, X.MotionNotify, x=ox + nx, y=oy + ny)
                xtest.fake_input(x, X.ButtonPress, 1)
                xtest.fake_input(x, X.ButtonRelease, 1)
        if last_click:
            xtest.fake_input(x, X.MotionNotify, x=ox + last_click[0], y=oy + last_click[1])
            xtest.fake_input(x, X.ButtonPress, 1)
            xtest.fake_input(x, X.ButtonRelease, 1)
        if close:
            protocols = x.intern_atom("WM_PROTOCOLS")
            delete = x.intern_atom("WM_DELETE_WINDOW")
            event = protocol.event.ClientMessage(
                window=game.window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            game.window.send_event(event, event_mask=X.NoEventMask)
    finally:
        x.ungrab_server()
        x.sync()


def session(args, play, what, env=None, screen=h.SCREEN):
    """Plays `play(demo)` in a private X server; play closes the window (or
    asks the caller to: return True); the game must end normally."""
    with h.XServer(screen) as xserver:
        game = h.Game(args.binary, args.root, xserver, env)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            if not play(h.Demo(game, args.root, args.render_tool)):
                game.close()
            status = game.wait_exit()
        finally:
            game.kill()
    h.check(status == 0, "%s: exit status %r, output %r" % (what, status, game.output()[-4:]))
    h.expect_clean_session(game.output())


def floods(args):
    def click_after_flood(demo):
        demo.through_opening()
        policia = demo.obj("Policia")
        flood(demo.game, last_click=policia.centre())
        demo.game.wait_screen(lambda im: demo.shows_menu(im, policia, policia.verbs),
                              "the policeman's verbs after the flood")

    session(args, click_after_flood, "a flood ending with a click on the policeman")

    def close_in_flood(demo):
        demo.wait_menu()
        flood(demo.game, close=True)
        return True  # the flood carried the close request

    session(args, close_in_flood, "a flood with the close request in it")


def closing(args):
    def in_menu(demo):
        demo.wait_menu()

    def mid_line(demo):
        demo.wait_menu()
        demo.start()
        demo.wait_line(h.OPENING[0][0])

    def verb_menu_open(demo):
        demo.through_opening()
        demo.open_menu(demo.obj("Lagartija"))

    def mid_reaction(demo):
        demo.through_opening()
        basurero = demo.obj("Basurero")
        demo.open_menu(basurero)
        demo.choose(basurero, "Recoger")
        demo.wait_line(basurero.lines["Recoger"][0])
        demo.go_on()
        demo.wait_line(basurero.lines["Recoger"][1])

    for play, what in ((in_menu, "closed in the menu"), (mid_line, "closed in the middle of a line"),
                       (verb_menu_open, "closed with a verb menu open"),
                       (mid_reaction, "closed in the middle of a reaction")):
        session(args, play, what)


def foreign_folder(args):
    with tempfile.TemporaryDirectory() as folder:
        mine = os.path.join(folder, "notes.txt")
        with open(mine, "w") as f:
            f.write("mine\n")
        result = subprocess.run(
            [sys.executable, os.path.join(args.root, "scripts", "autoplay.py"), "--binary", args.binary,
             "--root", args.root, "--out", folder], capture_output=True, text=True, timeout=60)
        h.check(result.returncode != 0 and "notes.txt" in result.stderr,
                "autoplay into a folder with a file: status %r, %r" % (result.returncode, result.stderr))
        with open(mine) as f:
            h.check(os.listdir(folder) == ["notes.txt"] and f.read() == "mine\n",
                    "autoplay changed a folder it did not create: %r" % os.listdir(folder))


def big_screen(args):
    no_sound = {"SDL_AUDIODRIVER": "none-such"}
    session(args, h.play_on_big_screen, "a big screen, no sound device", no_sound, "2560x1600x24")
    session(args, lambda demo: h.window_size_is(demo, (640, 480)), "the player's own scale",
            {"SDL12COMPAT_WINDOW_SCALING": "1"}, "2560x1600x24")


def test(args):
    foreign_folder(args)
    no_display(args)
    big_screen(args)
    floods(args)
    closing(args)


if __name__ == "__main__":
    h.run(test)
