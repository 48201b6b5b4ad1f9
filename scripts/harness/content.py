"""The demo as a player sees it, read from tests/demo/content.json: the one
place that holds its lines, objects, verbs and layout. The C++ unit tests
read the same file, so a changed line is one edit there (and new goldens)."""

import json
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONTENT = os.path.join(ROOT, "tests", "demo", "content.json")

with open(CONTENT, encoding="utf-8") as _file:
    DATA = json.load(_file)

WINDOW_TITLE = DATA["window"]["title"]
WIDTH, HEIGHT = DATA["window"]["width"], DATA["window"]["height"]
STDOUT = DATA["stdout"]
# (line, portrait on screen: 1 or 2)
OPENING = [(step["line"], step["portrait"]) for step in DATA["opening"]]
# The verb menu's slots, top to bottom, for an object that offers them all.
VERBS = list(DATA["verbs"])
LAYOUT = DATA["layout"]


class DemoObject:
    """One object of the investigation scene: where it is, what it offers and
    what it says. `picture` is relative to the folder that holds res/."""

    def __init__(self, name, picture, x, y, verbs, lines, after_knife=None):
        self.name = name
        self.picture = picture
        self.x = x
        self.y = y
        self.verbs = verbs
        self.lines = lines
        # For the bin: what it says once the knife has been taken.
        self.after_knife = after_knife or {}
        self.width = self.height = None  # from the picture, see Demo.__init__

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def rect(self):
        return self.x, self.y, self.width, self.height


def demo_objects():
    """The scene's four objects, in the order the scene adds them (fresh copies)."""
    return [
        DemoObject(o["name"], o["picture"], o["at"][0], o["at"][1], list(o["verbs"]),
                   {verb: list(lines) for verb, lines in o["lines"].items()}, o.get("after_knife"))
        for o in DATA["objects"]
    ]


# What the bin says once the knife has been taken.
BIN_AFTER_KNIFE = next(o["after_knife"] for o in DATA["objects"] if "after_knife" in o)
