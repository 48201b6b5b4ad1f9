"""kz on a machine with nothing else: a minimal Debian 12 root (debootstrap,
made once and cached outside the checkout) with only kz_<version>_amd64.deb
installed, and no compiler, CMake or Emscripten on it. There `kz new`,
`kz check` and `kz package` for all three platforms succeed, on the starter
game and on the script demo, and what they made is played here with the
existing players and goldens: the Windows zip under Wine in a fresh prefix,
the page in Chromium (mouse and touch), the .deb's game under Xvfb. The sizes
are held to their bounds.

    test_ship.py --deb build --demo-page build-web/page --binary build/kz --game build/games/demo
                 --root . --render-tool build/tests/render_line

(--game: the script demo, with its pictures, as the build gathers it.)
"""

import argparse
import fcntl
import glob
import gzip
import os
import subprocess
import tempfile

import harness as h
import screenshots
from harness import browser as b
import test_web
import windows_package

CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "demo-fresh")
# What a machine that ships games must not need.
TOOLS = ("cc", "gcc", "g++", "c++", "clang", "cmake", "emcc", "em++", "x86_64-w64-mingw32-gcc")


def pristine():
    """The minimal root, made once (a few minutes) and kept in the cache."""
    root = os.path.join(CACHE, "bookworm")
    os.makedirs(CACHE, exist_ok=True)
    with open(os.path.join(CACHE, "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(root, ".complete")):
            subprocess.run(["rm", "-rf", root], check=True)
            mirror = subprocess.run(["awk", "/^URIs:/{print $2; exit}", "/etc/apt/sources.list.d/debian.sources"],
                                    capture_output=True, text=True).stdout.strip() or "http://deb.debian.org/debian"
            made = subprocess.run(["debootstrap", "--variant=minbase", "bookworm", root, mirror],
                                  capture_output=True, text=True, timeout=1800)
            h.check(made.returncode == 0, "debootstrap failed: %s" % made.stdout[-600:])
            open(os.path.join(root, ".complete"), "w").close()
    return root


class Machine:
    """A copy of the minimal root for a `with` block; run() runs a shell
    command in it as root, with apt's downloads kept in the cache."""

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="kz-fresh-", dir="/var/tmp")
        subprocess.run(["cp", "-a", pristine() + "/.", self.root], check=True)
        subprocess.run(["cp", "/etc/resolv.conf", self.root + "/etc/resolv.conf"])
        archives = os.path.join(CACHE, "apt-archives")
        os.makedirs(os.path.join(archives, "partial"), exist_ok=True)
        self.mounts = [("proc", self.root + "/proc"), (archives, self.root + "/var/cache/apt/archives")]
        subprocess.run(["mount", "-t", "proc", "proc", self.mounts[0][1]], check=True)
        subprocess.run(["mount", "--bind", archives, self.mounts[1][1]], check=True)
        return self

    def run(self, command, timeout=900):
        done = subprocess.run(["chroot", self.root, "/usr/bin/env", "-i", "HOME=/root", "LANG=C.UTF-8",
                               "PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games",
                               "DEBIAN_FRONTEND=noninteractive", "sh", "-c", command],
                              capture_output=True, text=True, timeout=timeout)
        h.check(done.returncode == 0, "on the fresh machine, %r failed: %s%s" % (command, done.stdout[-1500:],
                                                                                done.stderr[-600:]))
        return done.stdout

    def __exit__(self, *exc):
        for _, where in reversed(self.mounts):
            subprocess.run(["umount", "-l", where])
        subprocess.run(["rm", "-rf", "--one-file-system", self.root])
        return False


def gzip_size(files):
    return sum(len(gzip.compress(open(f, "rb").read(), 9)) for f in files)


def test(args):
    h.check(args.game, "--game: the script demo's folder")
    h.check(os.geteuid() == 0, "the fresh machine needs root (debootstrap, chroot, mount)")
    if os.path.isdir(args.deb):
        made = glob.glob(os.path.join(args.deb, "kz_*_amd64.deb"))
        h.check(len(made) == 1, "no kz_<version>_amd64.deb in %s (cpack makes it): %r" % (args.deb, made))
        args.deb = made[0]
    with Machine() as machine:
        subprocess.run(["cp", args.deb, machine.root + "/root/"], check=True)
        subprocess.run(["cp", "-r", args.game, machine.root + "/root/demo"], check=True)
        machine.run("apt-get update -q && apt-get install -y -q --no-install-recommends ./root/%s"
                    % os.path.basename(args.deb), timeout=1800)
        found = machine.run("for t in %s; do command -v $t || true; done" % " ".join(TOOLS))
        h.check(found.strip() == "", "the fresh machine has build tools: %r" % found)
        machine.run("cd /root && kz new mygame && kz check mygame && kz check demo")
        for target in ("linux", "windows", "web"):
            machine.run("cd /root && kz package mygame --for %s --out new && kz package demo --for %s --out out"
                        % (target, target))
        out = machine.root + "/root/out"
        page = os.path.join(out, "Demo-web")
        zip_path = os.path.join(out, "Demo-windows-x64.zip")

        # Small: the player's page alone, the demo packed as a page, the zip.
        player = [os.path.join(machine.root, "usr/share/kz/players/web", f) for f in ("index.html", "kz.js", "kz.wasm")]
        h.check(gzip_size(player) <= 300 * 1024, "the player's page is %d bytes compressed" % gzip_size(player))
        packed = sum(os.path.getsize(f) for f in glob.glob(page + "/**", recursive=True) if os.path.isfile(f))
        demo = sum(os.path.getsize(f) for f in glob.glob(args.demo_page + "/*") if os.path.isfile(f))
        h.check(packed <= demo, "the demo packed as a page is %d bytes, the demo's page %d" % (packed, demo))
        h.check(os.path.getsize(zip_path) <= 2.5 * 1024 * 1024, "the Windows zip is %d bytes" % os.path.getsize(zip_path))

        # Played here: under Wine, in Chromium, and the .deb's game itself.
        windows_package.play(argparse.Namespace(**dict(vars(args), package=zip_path)))
        web = argparse.Namespace(**dict(vars(args), web=page))
        screenshots.compare(web, b.play_session, test_web.close_enough)
        screenshots.compare(web, lambda args, play: b.play_session(args, play, device=b.PHONE),
                            test_web.close_enough, lambda game, picture: game.displayed(picture, [screenshots.ICON]))
        with tempfile.TemporaryDirectory() as unpacked:
            deb = glob.glob(out + "/demo_*_amd64.deb")
            h.check(len(deb) == 1, "kz package --for linux made %r" % os.listdir(out))
            subprocess.run(["dpkg-deb", "-x", deb[0], unpacked], check=True)
            player = os.path.join(unpacked, "usr/lib/games/demo/demo")
            screenshots.compare(args, lambda args, play: h.play_session(args, play, binary=[player], cwd=unpacked))


def options(parser):
    parser.add_argument("--deb", required=True, help="kz_<version>_amd64.deb, or the folder cpack wrote it in")
    parser.add_argument("--demo-page", required=True, help="the demo's own page (build-web/page)")


if __name__ == "__main__":
    h.run(test, options)
