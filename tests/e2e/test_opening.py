"""A whole session through the opening: the menu, "Empezar", the seven lines
of the opening conversation one click at a time with the right officer on
screen, the strip gone after the last line; then the window is closed as a
user does, and the session's output and exit status are exactly a normal run's."""

import harness as h


def play(demo):
    menu = demo.wait_menu()
    h.check(not demo.shows_line(menu, h.OPENING[0][0]), "the menu shows a line")
    demo.start()

    for i, (text, officer) in enumerate(h.OPENING):
        picture = demo.wait_line(text)
        # The strip shows this line and no other, and the officer the script
        # has placed in the centre.
        if i + 1 < len(h.OPENING):
            h.check(not demo.shows_line(picture, h.OPENING[i + 1][0]),
                    "line %d also matches the next line" % (i + 1))
        h.check(
            demo.shows_portrait(picture, officer),
            "line %d: officer %d is not in the centre (differences %.1f / %.1f)"
            % (i + 1, officer, demo.portrait_difference(picture, 1),
               demo.portrait_difference(picture, 2)),
        )
        demo.go_on()

    # After the last line the strip disappears and both officers are gone.
    picture = demo.wait_strip_gone()
    h.check(demo.no_portrait(picture), "an officer is still on screen after the opening")


if __name__ == "__main__":
    h.run(lambda args: h.play_session(args, play))
