"""Pictures: the netpbm pictures ImageMagick and the text tool write, PNGs
written through ImageMagick, and how far a window's picture is from another."""

import subprocess

from harness.checks import check


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


def write_png(data, width, height, path, kind="rgb"):
    """Writes raw 8-bit samples (`kind`: gray, rgb or rgba) as a PNG through ImageMagick."""
    subprocess.run(
        ["convert", "-size", "%dx%d" % (width, height), "-depth", "8", "%s:-" % kind, path],
        input=data,
        check=True,
        timeout=60,
    )


def save_png(image, path):
    """Writes an Image as a PNG."""
    kind = {1: "gray", 3: "rgb", 4: "rgba"}[image.channels]
    write_png(image.data, image.width, image.height, path, kind)


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
