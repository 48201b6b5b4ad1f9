"""Failures, checks and patient waits, shared by every part of the harness.

The game runs at 12 frames per second and the machine may be slow and shared,
so nothing here relies on timings: every wait polls for a condition and gives
up only after a generous timeout.
"""

import time

# Generous limits for a slow, shared machine (two cores, a browser or Wine
# beside the game, other work besides): reaching one is a failure, so they
# are far above what any run takes, and no test waits for them otherwise.
START_TIMEOUT = 120
STEP_TIMEOUT = 60
EXIT_TIMEOUT = 60


class Failure(Exception):
    """A check of an end-to-end test did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout=STEP_TIMEOUT, interval=0.05, what="a condition"):
    """Polls `predicate` until it returns something true, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %ds waiting for %s" % (timeout, what))
        time.sleep(interval)
