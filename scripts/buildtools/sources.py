"""Debian's source packages, kept in <cache>/sources for every toolchain,
each with its .dsc and the files the .dsc lists.

The newest Debian revision of the wanted upstream version is built
(security updates come as new revisions); an older one only when the newest
cannot be downloaded. A revision the mirror would not give is noted for a
day, so that later runs don't wait for it again before falling back."""

import glob
import os
import re
import time

from buildtools import versions

DAY = 24 * 60 * 60


def matches_upstream(debian_version, upstream):
    """The Debian version is a revision of `upstream` (1.2.13 has 1:1.2.13.dfsg-1, not 1.2.130-1)."""
    version = debian_version.split(":", 1)[-1]
    return version.startswith(upstream) and version[len(upstream) : len(upstream) + 1] in tuple("-+.~")


def listed_versions(showsrc):
    """The versions `apt-cache showsrc` lists."""
    return [line[len("Version: ") :].strip() for line in showsrc.splitlines() if line.startswith("Version: ")]


def lists_are_old(lists_dir, now=None):
    """No source package list refreshed within a day: a security update
    published since would not be seen."""
    now = time.time() if now is None else now
    for path in glob.glob(os.path.join(glob.escape(lists_dir), "*_Sources*")):
        try:
            if now - os.path.getmtime(path) < DAY:
                return False
        except OSError:
            continue
    return True


def has_source_entries(texts):
    """Any of the apt source files' texts names a deb-src entry."""
    pattern = re.compile(r"^(Types:.*deb-src|deb-src )", re.M)
    return any(pattern.search(text) for text in texts)


def source_entries(debian_sources=None, sources_list=None):
    """The deb-src entries of the binary ones: (file name, text) pairs."""
    out = []
    if debian_sources is not None:
        out.append(("debian-src.sources", re.sub(r"(?m)^Types: *deb$", "Types: deb-src", debian_sources)))
    if sources_list is not None:
        lines = [re.sub(r"^deb ", "deb-src ", line) for line in sources_list.splitlines() if line.startswith("deb ")]
        out.append(("debian-src.list", "".join(line + "\n" for line in lines)))
    return out


class Store:
    """The source packages in `folder`, and the revisions refused there."""

    def __init__(self, folder):
        self.folder = folder
        self.refused_file = os.path.join(folder, "unavailable")

    def dsc_path(self, package, debian_version):
        # File names carry no epoch.
        return os.path.join(self.folder, "%s_%s.dsc" % (package, debian_version.split(":", 1)[-1]))

    def complete_dsc(self, package, debian_version):
        """The .dsc of the package at that version when all its files are here, or None."""
        dsc = self.dsc_path(package, debian_version)
        try:
            with open(dsc, encoding="utf-8", errors="replace") as f:
                text = f.read()
        except OSError:
            return None
        for name in files_of(text):
            if not os.path.isfile(os.path.join(self.folder, name)):
                return None
        return dsc

    def newest_complete(self, package, upstream):
        """The newest complete .dsc of the package at the upstream version here, or None."""
        prefix = "%s_" % package
        found = []
        for path in glob.glob(os.path.join(glob.escape(self.folder), glob.escape(prefix + upstream) + "*.dsc")):
            found.append(os.path.basename(path)[len(prefix) : -len(".dsc")])
        for version in versions.newest_first(found):
            dsc = self.complete_dsc(package, version)
            if dsc:
                return dsc
        return None

    def refused(self, package, debian_version, now=None):
        """The mirror refused this revision within the last day."""
        now = time.time() if now is None else now
        try:
            if now - os.path.getmtime(self.refused_file) >= DAY:
                return False
            with open(self.refused_file) as f:
                return "%s=%s" % (package, debian_version) in f.read().splitlines()
        except OSError:
            return False

    def download(self, package, debian_version, fetch, say, sleep=time.sleep):
        """Fetches the revision into the store (fetch(package, version) ->
        True when the download command succeeded), trying twice; a refusal
        is noted, and a noted one not asked for again within the day."""
        if self.refused(package, debian_version):
            return False
        say("  fetching %s %s" % (package, debian_version))
        for round in (1, 2):
            if fetch(package, debian_version) and self.complete_dsc(package, debian_version):
                return True
            if round == 1:
                sleep(10)
        self.note_refused(package, debian_version)
        return False

    def note_refused(self, package, debian_version):
        with open(self.refused_file, "a") as f:
            f.write("%s=%s\n" % (package, debian_version))


def files_of(dsc_text):
    """The file names a .dsc's Files: section lists."""
    names, inside = [], False
    for line in dsc_text.splitlines():
        if line.startswith("Files:"):
            inside = True
            continue
        if inside:
            if not line.startswith(" "):
                break
            fields = line.split()
            if len(fields) == 3 and re.fullmatch(r"[0-9a-f]*", fields[0]) and fields[1].isdigit():
                names.append(fields[2])
    return names


def choose(store, package, upstream, listed, download, say):
    """The .dsc to build `package` at `upstream` from: the newest listed
    revision, downloaded (download(package, version) -> True) if it is not
    here yet; when it cannot be had, the next newest, and last the newest
    here. None when there is none at all. say(text) tells what was chosen
    instead of the newest."""
    newest = None
    for version in versions.newest_first(v for v in listed if matches_upstream(v, upstream)):
        newest = newest or version
        dsc = store.complete_dsc(package, version)
        if not dsc and download(package, version):
            dsc = store.complete_dsc(package, version)
        if dsc:
            if version != newest:
                say("  %s: %s could not be fetched; taking %s" % (package, newest, version))
            return dsc
    dsc = store.newest_complete(package, upstream)
    if dsc:
        say("  %s: no listed revision could be fetched; taking %s" % (package, os.path.basename(dsc)))
    return dsc
