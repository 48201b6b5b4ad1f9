"""The libraries' cache: where it is, what names a prefix (its key), how a
copied prefix is made to name its new place, and compiling in parallel.

A prefix is <cache>/<toolchain>-<key>, where <key> hashes the toolchain's
version, the exact Debian revisions of the sources, the recipe and every
file the build reads besides the sources (compat/'s), so that any change
builds afresh. The third-party libraries are kept apart in
<toolchain>-base-<base key>, keyed without compat/: a change there only
rebuilds compat/."""

import hashlib
import os
import shlex
import shutil
import subprocess
import threading

KEY_LENGTH = 12


def cache_folder(environ, cwd):
    """DEMO_DEPS_CACHE (relative to `cwd` when relative), else
    $XDG_CACHE_HOME/demo-deps, else ~/.cache/demo-deps; absolute, so that it
    means the same folder in every step whichever folder a step works in."""
    chosen = environ.get("DEMO_DEPS_CACHE") or os.path.join(
        environ.get("XDG_CACHE_HOME") or os.path.join(environ.get("HOME") or os.path.expanduser("~"), ".cache"),
        "demo-deps",
    )
    return os.path.realpath(os.path.join(cwd, chosen))


def _digest(data):
    return hashlib.sha256(data).hexdigest()[:KEY_LENGTH]


def base_key(toolchain, toolchain_version, dsc_names, recipe_texts):
    """The third-party libraries' key: the toolchain and its packages'
    versions, the .dsc of each source, and the recipe's files' bytes."""
    head = "".join(line + "\n" for line in [toolchain, toolchain_version] + list(dsc_names))
    return _digest(head.encode() + b"".join(recipe_texts))


def key(base, files):
    """The whole prefix's key: the base key, then each file compat/'s build
    reads, as (path as named in the tree, bytes) in byte order of the path."""
    data = (base + "\n").encode()
    for path, content in files:
        data += path.encode() + b"\n" + content
    return _digest(data)


def tree_files(root, folder, leave_out=lambda name: False):
    """(path below root, bytes) of every file in root/folder, sorted as
    C-locale `sort` sorts the paths."""
    found = []
    for top, dirs, names in os.walk(os.path.join(root, folder)):
        for name in names:
            if not leave_out(name):
                path = os.path.join(top, name)
                found.append(os.path.relpath(path, root))
    found.sort(key=lambda p: p.encode())
    out = []
    for path in found:
        with open(os.path.join(root, path), "rb") as f:
            out.append((path, f.read()))
    return out


def rewrite_paths(folder, old, new):
    """In the text files below `folder` (links and binary files aside), every
    `old` (a path, taken literally) becomes `new`. Returns the files changed."""
    changed = []
    old_bytes, new_bytes = old.encode(), new.encode()
    for top, dirs, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            if os.path.islink(path) or not os.path.isfile(path):
                continue
            with open(path, "rb") as f:
                data = f.read()
            if b"\0" in data or old_bytes not in data:
                continue
            with open(path, "wb") as f:
                f.write(data.replace(old_bytes, new_bytes))
            changed.append(path)
    return changed


def copy_prefix(base, prefix):
    """A fresh copy of the finished `base` at `prefix` (links, modes and
    times kept), its mark of completion removed, the paths its text files
    name of `base` (pkg-config, CMake and libtool files) naming `prefix`."""
    shutil.rmtree(prefix, ignore_errors=True)
    shutil.copytree(base, prefix, symlinks=True)
    os.remove(os.path.join(prefix, ".complete"))
    return rewrite_paths(os.path.join(prefix, "lib"), base, prefix)


def run_parallel(commands, jobs, log, cwd=None, env=None):
    """Runs the commands (argument lists) in `cwd`, at most `jobs` at a
    time, each under `nice` with its output appended to the file `log`.
    Returns the commands that failed, as shell text; all are run either way."""
    failed = []
    pending = list(commands)
    lock = threading.Lock()

    def worker():
        while True:
            with lock:
                if not pending:
                    return
                command = pending.pop(0)
            with open(log, "ab") as out:
                status = subprocess.call(["nice"] + command, stdout=out, stderr=subprocess.STDOUT, cwd=cwd, env=env)
            if status != 0:
                with lock:
                    failed.append(shlex.join(command))

    threads = [threading.Thread(target=worker) for _ in range(max(1, jobs))]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return failed
