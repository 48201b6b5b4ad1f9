"""Text on screen: a text as the game's own renderer lays it out (the text
tool built beside the game), and whether a window's picture shows it."""

import os
import subprocess

from harness.checks import check
from harness.pictures import parse_netpbm

# Precision asked of text drawn straight over the scene's pictures.
OVER_SCENE = 0.85


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
