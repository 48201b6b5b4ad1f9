"""The bin remembers the knife: "Examinar" hints at it, "Recoger" takes it
(four lines), then "Recoger" only says it is taken and "Examinar" that there is
nothing more; "Hablar" and "Mover" do not change. Each reaction is followed by
the strip disappearing, so no other line was queued."""

import harness as h


def play(demo):
    demo.through_opening()
    bin_ = demo.obj("Basurero")
    demo.hover(bin_)
    demo.act(bin_, "Examinar", bin_.lines["Examinar"])
    demo.act(bin_, "Recoger", bin_.lines["Recoger"])
    demo.act(bin_, "Recoger", h.BIN_AFTER_KNIFE["Recoger"])
    demo.act(bin_, "Examinar", h.BIN_AFTER_KNIFE["Examinar"])
    demo.act(bin_, "Hablar", bin_.lines["Hablar"])
    demo.act(bin_, "Mover", bin_.lines["Mover"])


if __name__ == "__main__":
    h.run(lambda args: h.play_session(args, play))
