"""`cmake --install` gives a game that works from any working directory: the
launcher in bin/ runs it from its data directory, where res/ is."""

import os
import subprocess
import tempfile

import harness as h


def play(demo):
    demo.wait_menu()
    demo.start()
    demo.wait_line(h.OPENING[0][0])


def test(args):
    build = os.path.dirname(args.binary)
    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as elsewhere:
        result = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                                capture_output=True, text=True, timeout=120)
        h.check(result.returncode == 0, "install failed: %s" % result.stderr)
        launcher = os.path.join(prefix, "bin", "demo")
        h.check(os.access(launcher, os.X_OK), "no launcher at %s" % launcher)
        # Started from a directory without res/, through a relative link to
        # the launcher, as from a desktop or a PATH entry.
        os.symlink(launcher, os.path.join(elsewhere, "demo"))
        h.play_session(args, play, binary="./demo", cwd=elsewhere)


if __name__ == "__main__":
    h.run(test)
