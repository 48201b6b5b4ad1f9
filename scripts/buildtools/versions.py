"""Debian version strings in dpkg's order: [epoch:]upstream[-revision],
where "~" sorts before anything, even the end of the string."""

import functools


def _order(c):
    if c == "~":
        return -1
    if c.isalpha():
        return ord(c)
    return ord(c) + 256 if c else 0


def _compare_part(a, b):
    i = j = 0
    while i < len(a) or j < len(b):
        difference = 0
        while (i < len(a) and not a[i].isdigit()) or (j < len(b) and not b[j].isdigit()):
            ac = _order(a[i]) if i < len(a) and not a[i].isdigit() else 0
            bc = _order(b[j]) if j < len(b) and not b[j].isdigit() else 0
            if ac != bc:
                return ac - bc
            i += 1
            j += 1
        start_i, start_j = i, j
        while i < len(a) and a[i].isdigit():
            i += 1
        while j < len(b) and b[j].isdigit():
            j += 1
        difference = int(a[start_i:i] or 0) - int(b[start_j:j] or 0)
        if difference:
            return difference
    return 0


def _split(version):
    epoch, _, rest = version.partition(":") if ":" in version else ("0", "", version)
    upstream, _, revision = rest.rpartition("-") if "-" in rest else (rest, "", "0")
    return int(epoch or 0), upstream, revision


def compare(a, b):
    """Negative, zero or positive as Debian version a is older, the same or newer than b."""
    ea, ua, ra = _split(a)
    eb, ub, rb = _split(b)
    return (ea - eb) or _compare_part(ua, ub) or _compare_part(ra, rb)


def newest_first(versions):
    """The distinct versions, newest first."""
    return sorted(set(versions), key=functools.cmp_to_key(compare), reverse=True)
