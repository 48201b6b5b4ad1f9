"""The Windows package run under Wine, for the end-to-end tests and
scripts/perf: the zip unpacked into a fresh folder, started from that folder
(as a double-click does) with `wine Demo.exe` in a private Wine prefix, its
standard output read from the stdout.txt it writes there.

A new Wine prefix takes half a minute to make, so one is made once per Wine
version in the cache and copied for every use.
"""

import fcntl
import os
import re
import shutil
import subprocess
import tempfile
import zipfile

import harness as h

# No debugging chatter, and no offer to install Mono or Gecko, which the game
# does not use.
ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
# The folder at the top of the zip.
FOLDER = "Demo"


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True,
                          env=dict(os.environ, **ENV), check=True).stdout.strip()


def template_prefix():
    """The cached, freshly made prefix (made here the first time)."""
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    folder = os.path.join(cache, "demo-wine", re.sub(r"[^\w.-]+", "-", wine_version()).strip("-"))
    os.makedirs(folder, exist_ok=True)
    prefix = os.path.join(folder, "prefix")
    # Tests run side by side: one makes the prefix, the others wait for it.
    with open(os.path.join(folder, "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(prefix, "system.reg.done")):
            shutil.rmtree(prefix, ignore_errors=True)
            env = dict(os.environ, WINEPREFIX=prefix, **ENV)
            env.pop("DISPLAY", None)
            result = subprocess.run(["wine", "wineboot", "-i"], env=env, capture_output=True,
                                    timeout=600)
            subprocess.run([wineserver(), "-w"], env=env, timeout=120)
            h.check(result.returncode == 0 and os.path.exists(os.path.join(prefix, "system.reg")),
                    "wineboot failed: %r" % result.stderr[-400:])
            open(os.path.join(prefix, "system.reg.done"), "w").close()
    return prefix


def wineserver():
    for path in ("/usr/bin/wineserver", "/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"):
        if os.path.exists(path):
            return path
    raise h.Failure("wineserver is not installed (scripts/setup windows)")


class Package:
    """The zip unpacked in a temporary folder with a prefix of its own, for
    the life of a `with` block. `folder` is the game's folder, `name` (the
    zip's top folder) inside it, holding `program`."""

    def __init__(self, zip_path, name=FOLDER, program="Demo.exe"):
        self.zip_path = os.path.abspath(zip_path)
        self.name = name
        self.program = program

    def __enter__(self):
        h.check(os.path.exists(self.zip_path), "no Windows package at %s" % self.zip_path)
        self.temp = tempfile.mkdtemp(prefix="e2e-windows-")
        self.prefix = os.path.join(self.temp, "prefix")
        shutil.copytree(template_prefix(), self.prefix, symlinks=True)
        with zipfile.ZipFile(self.zip_path) as z:
            z.extractall(self.temp)
        self.folder = os.path.join(self.temp, self.name)
        h.check(os.path.exists(os.path.join(self.folder, self.program)),
                "the zip has no %s/%s" % (self.name, self.program))
        self.env = dict(ENV, WINEPREFIX=self.prefix)
        return self

    def game(self, xserver, program=None, cwd=None, **options):
        """Starts `program` (relative to the game's folder) from `cwd` (the
        game's folder by default), as a harness.Game."""
        cwd = cwd or self.folder
        for name in ("stdout.txt", "stderr.txt"):
            if os.path.exists(os.path.join(cwd, name)):
                os.unlink(os.path.join(cwd, name))
        return h.Game(os.path.join(self.folder, program or self.program), cwd, xserver, self.env,
                      launcher=["wine"], stdout_file="stdout.txt", **options)

    def __exit__(self, *exc):
        subprocess.run([wineserver(), "-k"], env=dict(os.environ, **self.env), timeout=60,
                       stderr=subprocess.DEVNULL)
        shutil.rmtree(self.temp, ignore_errors=True)
        return False
