"""The end-to-end harness: plays the real game the way a player does, for the
end-to-end tests (tests/e2e), the automatic play-through (scripts/autoplay.py),
the goldens (tests/e2e/screenshots.py) and the figures (scripts/perf).

It is a package of scripts/: CTest and the scripts put that folder on
PYTHONPATH (a script in scripts/ finds it beside itself). By hand:

    PYTHONPATH=scripts python3 tests/e2e/test_opening.py \\
        --binary build/Demo --root . --render-tool build/tests/render_line

A test is a function of the parsed command line, run by `run`:

    import harness as h

    def play(demo):                      # a Demo over the running game
        demo.through_opening()           # the menu, "Empezar", every line
        lizard = demo.obj("Lagartija")
        demo.hover(lizard)               # its name at the bottom
        demo.act(lizard, "Examinar", lizard.lines["Examinar"])

    h.run(lambda args: h.play_session(args, play))

`play_session` starts `args.command` (the program given with --binary, and
its arguments) from --root in a private X server, hands play() a Demo, closes
the window as a user does and checks the standard output of a clean session.
Everything fails with `Failure` (see `check`), never a bare assertion, and
every wait polls with a generous timeout, never a fixed sleep.

The modules, each usable alone:
- checks: Failure, check, wait_until and the timeouts.
- pictures: Image, the netpbm reader, PNG writing, picture differences.
- text: a text as the game renders it, and whether a picture shows it.
- driver: XServer, and Game, the program on it (stdout, pointer, pictures).
- content: the demo's lines, objects, verbs and layout, read from
  tests/demo/content.json, which the C++ unit tests read too.
- demo: Demo, the demo's steps; play_session, run and the whole play-through.
- wine, browser: the Windows package under Wine, the web page in Chromium.
"""

from harness.checks import EXIT_TIMEOUT, START_TIMEOUT, STEP_TIMEOUT, Failure, check, wait_until
from harness.content import BIN_AFTER_KNIFE, OPENING, VERBS, WINDOW_TITLE, DemoObject, demo_objects
from harness.demo import (
    Demo,
    arguments,
    expect_clean_session,
    play_on_big_screen,
    play_session,
    play_through,
    run,
    window_size_is,
)
from harness.driver import SCREEN, Game, Player, XServer
from harness.pictures import (
    Image,
    background_difference,
    load_picture,
    parse_netpbm,
    picture_difference,
    save_png,
    write_png,
)
from harness.text import OVER_SCENE, render_text, shows_text, text_match
