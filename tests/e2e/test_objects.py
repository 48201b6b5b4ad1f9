"""The lizard, the outline and the policeman: pointing at each names it at
the bottom of the window (and only it); clicking it opens the verb menu beside
it with exactly its enabled verbs, in order; every verb plays its lines one
click at a time, after which the strip disappears."""

import harness as h


def play(demo):
    demo.through_opening()
    for name in ("Lagartija", "Silueta", "Policia"):
        obj = demo.obj(name)
        picture = demo.hover(obj)
        for other in demo.objects:
            if other is not obj:
                h.check(not demo.shows_label(picture, other.name),
                        "pointing at %s also shows %s" % (obj.name, other.name))
        for verb in obj.verbs:
            demo.act(obj, verb, obj.lines[verb])


if __name__ == "__main__":
    h.run(lambda args: h.play_session(args, play))
