"""A build program's steps, and its failure reported once as the shell
scripts' failures.sh does: which step it was in, the failing command, and
the end of that step's log; exit status 1."""

import shlex
import subprocess
import sys


class StepFailed(Exception):
    """A command of a step failed: its exit status and the command."""

    def __init__(self, status, command):
        super().__init__("status %s" % status)
        self.status = status
        self.command = command


class Steps:
    """The current step (and its log, if its output goes to one)."""

    def __init__(self, script):
        self.script = script
        self.name = "starting"
        self.log = None

    def step(self, name, log=None):
        self.name = name
        self.log = log

    def report(self, status, command, out=None):
        out = out or sys.stderr
        print("%s: failed while %s (status %s, at: %s)" % (self.script, self.name, status, command), file=out)
        if self.log:
            try:
                with open(self.log, "rb") as f:
                    tail = f.read().splitlines()[-40:]
            except OSError:
                tail = []
            if tail:
                print("%s: the end of %s:" % (self.script, self.log), file=out)
                out.write(b"\n".join(tail).decode("utf-8", "replace") + "\n")
        out.flush()

    def run(self, main):
        """Runs main(); a failure is reported and the program exits with 1."""
        try:
            return main()
        except StepFailed as failure:
            self.report(failure.status, failure.command)
        except subprocess.CalledProcessError as failure:
            self.report(failure.returncode, shlex.join(str(c) for c in failure.cmd))
        except OSError as error:
            self.report(1, error)
        sys.exit(1)


def check_call(command, log=None, **options):
    """Runs `command` (a list), its output appended to the file `log` (or
    inherited); a non-zero status raises StepFailed."""
    if log is None:
        status = subprocess.call(command, **options)
    else:
        with open(log, "ab") as out:
            status = subprocess.call(command, stdout=out, stderr=subprocess.STDOUT, **options)
    if status != 0:
        raise StepFailed(status, shlex.join(str(c) for c in command))
