#!/usr/bin/env python3
"""Screenshot regression: the automatic play-through of scripts/autoplay.py,
with the picture of every step compared with a committed golden picture.

    screenshots.py --binary build/Demo --root . [--render-tool T]           # compare
    screenshots.py --binary build/Demo --root . [--render-tool T] --update  # rewrite the goldens
    screenshots.py --binary build/Demo --root . --export DIR               # goldens as PNGs

The comparison is exact: the game is drawn by Mesa's software rasteriser,
which gives the same pixels run after run. One thing moves on its own: the
dialog strip's press-button icon bobs by a pixel every frame, so a picture is
taken at any of its three positions. Its box must show one of the looks
recorded for it when the goldens were made (the update takes several pictures
of every step to see them all); everything else must match to the bit.

A step whose picture differs fails the test; the message names the step and
the regions that changed, and the actual, expected and difference pictures are
saved for a look (folder printed; SCREENSHOT_DIFFS chooses it).

The goldens (tests/e2e/goldens/) are stored as 16 x 16 tiles, each distinct
tile once (tiles.png), and per step the grid of tile numbers that makes its
picture (steps.json), as its change from the previous step's grid: the steps
share most of their pixels, so the whole play-through takes about as much
space as three full pictures.
"""

import base64
import json
import os
import struct
import sys
import tempfile
import zlib

import harness as h

GOLDENS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "goldens")
TILE = 16
ATLAS_COLUMNS = 64
WIDTH, HEIGHT = 640, 480
# The press-button icon's box: 40 x 32 at (576, 416 + bounce), bounce 1 to 3.
ICON = (576, 416, 40, 36)
# Pictures taken of every step while updating, to see every look of the icon.
UPDATE_SHOTS = 8


# --- Pictures as RGB bytes ------------------------------------------------------


def rgb_bytes(image):
    """The picture's pixels as bytes R, G, B, row by row."""
    h.check(image.width == WIDTH and image.height == HEIGHT, "picture of %dx%d" % image.size)
    return without_alpha(image.data, image.channels, WIDTH * HEIGHT)


def without_alpha(data, channels, pixels):
    if channels == 3:
        return bytes(data)
    out = bytearray(pixels * 3)
    for k in range(3):
        out[k::3] = data[k::channels]
    return bytes(out)


def crop(data, box):
    x, y, w, hh = box
    rows = [data[((y + r) * WIDTH + x) * 3 : ((y + r) * WIDTH + x + w) * 3] for r in range(hh)]
    return b"".join(rows)


def paste(data, box, block):
    x, y, w, hh = box
    out = bytearray(data)
    for r in range(hh):
        start = ((y + r) * WIDTH + x) * 3
        out[start : start + w * 3] = block[r * w * 3 : (r + 1) * w * 3]
    return bytes(out)


def read_rgb(path):
    image = h.load_picture(path)
    return without_alpha(image.data, 4, image.width * image.height), image.width, image.height


# --- The golden store -------------------------------------------------------------


def tiles_of(data):
    """The picture cut into TILE x TILE blocks, row by row."""
    out = []
    for ty in range(HEIGHT // TILE):
        for tx in range(WIDTH // TILE):
            out.append(crop(data, (tx * TILE, ty * TILE, TILE, TILE)))
    return out


def pack(values):
    raw = struct.pack("<%dH" % len(values), *values)
    return base64.b64encode(zlib.compress(raw, 9)).decode("ascii")


def unpack(text):
    raw = zlib.decompress(base64.b64decode(text))
    return list(struct.unpack("<%dH" % (len(raw) // 2), raw))


def save_goldens(steps, icon_looks, folder=GOLDENS):
    """steps: [(name, rgb bytes)]; icon_looks: the icon box's possible contents."""
    index = {}
    tiles = []
    grids = []
    previous = [0] * ((WIDTH // TILE) * (HEIGHT // TILE))
    for name, data in steps:
        grid = []
        for tile in tiles_of(data):
            if tile not in index:
                index[tile] = len(tiles)
                tiles.append(tile)
            grid.append(index[tile])
        # Each grid is stored as its change from the previous step's, mostly
        # zeros, which compress to almost nothing.
        grids.append({"name": name, "tiles": pack([(g - p) % 65536 for g, p in zip(grid, previous)])})
        previous = grid
    h.check(len(tiles) < 65536, "too many distinct tiles")
    rows = (len(tiles) + ATLAS_COLUMNS - 1) // ATLAS_COLUMNS
    atlas_w = ATLAS_COLUMNS * TILE
    atlas = bytearray(atlas_w * rows * TILE * 3)
    for i, tile in enumerate(tiles):
        x0, y0 = (i % ATLAS_COLUMNS) * TILE, (i // ATLAS_COLUMNS) * TILE
        for r in range(TILE):
            start = ((y0 + r) * atlas_w + x0) * 3
            atlas[start : start + TILE * 3] = tile[r * TILE * 3 : (r + 1) * TILE * 3]
    os.makedirs(folder, exist_ok=True)
    h.write_png(bytes(atlas), atlas_w, rows * TILE, os.path.join(folder, "tiles.png"))
    looks = [base64.b64encode(zlib.compress(look, 9)).decode("ascii") for look in sorted(icon_looks)]
    with open(os.path.join(folder, "steps.json"), "w") as f:
        json.dump({"tile": TILE, "icon": list(ICON), "icon_looks": looks, "steps": grids}, f, indent=0)
        f.write("\n")
    return len(tiles)


class Goldens:
    """The committed goldens, read back."""

    def __init__(self, folder=GOLDENS):
        with open(os.path.join(folder, "steps.json")) as f:
            meta = json.load(f)
        h.check(meta["tile"] == TILE and tuple(meta["icon"]) == ICON, "goldens of another layout")
        atlas, atlas_w, _ = read_rgb(os.path.join(folder, "tiles.png"))
        self.atlas, self.atlas_w = atlas, atlas_w
        self.names = [step["name"] for step in meta["steps"]]
        self.grids = []
        previous = [0] * ((WIDTH // TILE) * (HEIGHT // TILE))
        for step in meta["steps"]:
            previous = [(d + p) % 65536 for d, p in zip(unpack(step["tiles"]), previous)]
            self.grids.append(previous)
        self.icon_looks = {zlib.decompress(base64.b64decode(look)) for look in meta["icon_looks"]}

    def picture(self, i):
        """Step i's golden picture as RGB bytes."""
        grid = self.grids[i]
        columns = WIDTH // TILE
        rows = []
        for ty in range(HEIGHT // TILE):
            for r in range(TILE):
                row = []
                for tx in range(columns):
                    t = grid[ty * columns + tx]
                    x0, y0 = (t % ATLAS_COLUMNS) * TILE, (t // ATLAS_COLUMNS) * TILE
                    start = ((y0 + r) * self.atlas_w + x0) * 3
                    row.append(self.atlas[start : start + TILE * 3])
                rows.append(b"".join(row))
        return b"".join(rows)


# --- Comparing ----------------------------------------------------------------------


def changed_regions(actual, expected):
    """The changed parts of a picture, as (x, y, width, height, pixels) boxes:
    the differing tiles grouped into touching groups, each group's box shrunk
    to its differing pixels."""
    columns, rows = WIDTH // TILE, HEIGHT // TILE
    a_tiles, e_tiles = tiles_of(actual), tiles_of(expected)
    diff = {(i % columns, i // columns) for i in range(len(a_tiles)) if a_tiles[i] != e_tiles[i]}
    regions = []
    while diff:
        stack = [diff.pop()]
        group = []
        while stack:
            tx, ty = stack.pop()
            group.append((tx, ty))
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    n = (tx + dx, ty + dy)
                    if n in diff:
                        diff.remove(n)
                        stack.append(n)
        x0 = y0 = 10**9
        x1 = y1 = -1
        pixels = 0
        for tx, ty in group:
            for y in range(ty * TILE, ty * TILE + TILE):
                for x in range(tx * TILE, tx * TILE + TILE):
                    i = (y * WIDTH + x) * 3
                    if actual[i : i + 3] != expected[i : i + 3]:
                        pixels += 1
                        x0, y0, x1, y1 = min(x0, x), min(y0, y), max(x1, x), max(y1, y)
        regions.append((x0, y0, x1 - x0 + 1, y1 - y0 + 1, pixels))
    return sorted(regions, key=lambda r: (r[1], r[0]))


def icon_settled(actual, expected, looks):
    """The golden with its icon box as in `actual`, when that is one of the
    icon's recorded looks; otherwise the golden unchanged."""
    box = crop(actual, ICON)
    return paste(expected, ICON, box) if box in looks else expected


def difference_picture(actual, expected):
    """The expected picture, dimmed, with every differing pixel in red."""
    out = bytearray(len(expected))
    for i in range(0, len(expected), 3):
        if actual[i : i + 3] != expected[i : i + 3]:
            out[i : i + 3] = b"\xff\x00\x00"
        else:
            grey = (expected[i] + expected[i + 1] + expected[i + 2]) // 9
            out[i : i + 3] = bytes((grey, grey, grey))
    return bytes(out)


# --- Playing --------------------------------------------------------------------------


def play_through(args, record, session=h.play_session):
    """Plays the whole play-through in a session (by default the desktop
    game's in a private X server, which also checks that it ended normally);
    record(game, step, picture) gets every step's picture. Returns what the
    session returns: the ended Game, for the desktop's."""

    def play(demo):
        demo.record = lambda step, picture: record(demo.game, step, picture)
        h.play_through(demo)

    return session(args, play)


def update(args):
    steps = []
    looks = set()

    def record(game, step, picture):
        name = "%03d-%s" % (len(steps) + 1, step)
        data = rgb_bytes(picture)
        steps.append((name, data))
        looks.add(crop(data, ICON))
        for _ in range(UPDATE_SHOTS):
            looks.add(crop(rgb_bytes(game.screenshot()), ICON))
        print("  %s" % name, flush=True)

    play_through(args, record)
    # Every step that shows the icon adds its three looks; the others add the
    # box as it is without it.
    count = save_goldens(steps, looks)
    print("goldens: %d steps, %d distinct tiles, %d looks of the icon's box, in %s"
          % (len(steps), count, len(looks), os.path.relpath(GOLDENS)))


def rounding_only(max_channel, max_share):
    """A close_enough for a renderer that rounds otherwise than the goldens':
    no channel off by more than max_channel, at most max_share of them off,
    the bobbing icon's box showing any of its looks (give or take the same)."""

    def differs_little(actual, expected):
        off = [abs(a - e) for a, e in zip(actual, expected) if a != e]
        return not off or (max(off) <= max_channel and len(off) <= max_share * len(actual))

    def close_enough(actual, golden, icon_looks):
        icon = crop(actual, ICON)
        blank = bytes(len(icon))
        looks = set(icon_looks) | {crop(golden, ICON)}
        return any(differs_little(icon, look) for look in looks) and differs_little(
            paste(actual, ICON, blank), paste(golden, ICON, blank)
        )

    return close_enough


def compare(args, session=h.play_session, close_enough=None, also=None):
    """Plays and compares every step with its golden. A picture that differs
    passes if close_enough(actual, golden, icon_looks) says so (other
    renderers). also(game, picture), if given, checks every step's picture
    further. Returns what the session returns."""
    goldens = Goldens()
    out = os.environ.get("SCREENSHOT_DIFFS") or tempfile.mkdtemp(prefix="screenshots-")
    failures = []
    seen = []

    def record(game, step, picture):
        i = len(seen)
        name = "%03d-%s" % (i + 1, step)
        seen.append(name)
        if i >= len(goldens.names) or goldens.names[i] != name:
            expected_name = goldens.names[i] if i < len(goldens.names) else "nothing"
            failures.append("step %s: the goldens have %s here" % (name, expected_name))
            return
        if also:
            also(game, picture)
        actual = rgb_bytes(picture)
        expected = icon_settled(actual, goldens.picture(i), goldens.icon_looks)
        if actual == expected or (
            close_enough and close_enough(actual, goldens.picture(i), goldens.icon_looks)
        ):
            return
        regions = changed_regions(actual, expected)
        os.makedirs(out, exist_ok=True)
        stem = os.path.join(out, name)
        h.write_png(actual, WIDTH, HEIGHT, stem + "-actual.png")
        h.write_png(expected, WIDTH, HEIGHT, stem + "-expected.png")
        h.write_png(difference_picture(actual, expected), WIDTH, HEIGHT, stem + "-diff.png")
        failures.append(
            "step %s: %s (pictures: %s-*.png)"
            % (
                name,
                "; ".join("%d pixels changed in %dx%d at (%d, %d)" % (p, w, hh, x, y) for x, y, w, hh, p in regions),
                stem,
            )
        )

    game = play_through(args, record, session)
    if len(seen) < len(goldens.names):
        failures.append("the play-through ended after %d steps; the goldens have %d" % (len(seen), len(goldens.names)))
    if failures:
        raise h.Failure(
            "%d of %d steps differ from the goldens (run scripts/update-goldens if the change is "
            "intended):\n  %s" % (len(failures), len(goldens.names), "\n  ".join(failures))
        )
    print("%d steps, every picture as in the goldens" % len(seen))
    return game


def export(folder):
    """Writes every step's golden picture as a PNG into `folder`."""
    goldens = Goldens()
    os.makedirs(folder, exist_ok=True)
    for i, name in enumerate(goldens.names):
        h.write_png(goldens.picture(i), WIDTH, HEIGHT, os.path.join(folder, name + ".png"))
    print("%d golden pictures in %s" % (len(goldens.names), folder))


def options(parser):
    parser.add_argument("--update", action="store_true", help="rewrite the goldens")
    parser.add_argument("--export", metavar="DIR", help="only write the golden pictures into DIR")


def main():
    args = h.arguments(options)
    try:
        if args.export:
            export(args.export)
            return
        (update if args.update else compare)(args)
    except h.Failure as failure:
        print("FAILED: %s" % failure, flush=True)
        sys.exit(1)
    print("PASSED", flush=True)


if __name__ == "__main__":
    main()
