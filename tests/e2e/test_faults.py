"""Broken and unusual resource files: for every file the game loads and every
case in docs/FAULTS.md, the game either runs and draws the picture as the file
shows it (with the warnings the table names) or prints the loader's message
and a line naming the file, and ends with status 1. Never a signal, a hang, an
assertion or a sanitizer report. Any case that behaves otherwise than its row
in the table fails the test.

Cases that stop the game run one by one. Cases that run are played together,
one session per case with every picture in that form, and compared frame by
frame with a session whose pictures hold the same content as plain RGBA PNGs
(or with the original game, for the forms that change a picture's size)."""

import concurrent.futures
import os
import re
import shutil
import sys
import tempfile
import threading
import time

import faults_support as fs
import harness as h

TABLE = os.path.join("docs", "FAULTS.md")
# Pictures of another size are resampled where the game squeezes them (the
# background, the strip's icon): allowed mean difference per channel over the
# window, and over its worst 16 x 16 block. A picture not drawn, or drawn with
# its channels or rows mixed up, differs by far more (see docs/FAULTS.md).
RESIZED_MEAN = 2.0
RESIZED_BLOCK = 24.0


def plan(cases):
    """The sessions that decide every row, and for each row its session."""
    sessions = {}
    row_session = {}

    def add(session):
        sessions[session.key] = session
        return session

    baseline = add(fs.Session("original", {}, "full"))
    references = {}
    for form in fs.REFERENCED:
        drawn = [c.name for c in cases if c.case == form and c.outcome == "runs"]
        if drawn:
            references[form] = add(fs.Session("reference-" + form, {n: "rgba-of-" + form for n in drawn}, "full"))
    hosts = [baseline] + list(references.values())

    forms = []
    for c in cases:
        if c.case not in forms:
            forms.append(c.case)
    for form in forms:
        rows = [c for c in cases if c.case == form]
        for c in rows:
            if c.outcome.startswith("stops"):
                drive = "start" if c.outcome == "stops at start" else "empezar"
                row_session[c] = add(fs.Session("%s-%s" % (c.name, form), {c.name: form}, drive))
        together = [c for c in rows if not c.outcome.startswith("stops")]
        if not together:
            continue
        names = {c.name for c in together}
        if any(c.outcome == "runs" for c in together):
            session = add(fs.Session("all-" + form, {n: form for n in names}, "full"))
        else:
            # Never loaded: carried by a session that plays the whole opening
            # and must not notice.
            host = next((s for s in hosts if not names & set(s.forms)), None)
            if host is None:
                host = add(fs.Session("unused-" + form, {}, "full"))
                hosts.append(host)
            host.forms.update({n: form for n in names})
            session = host
        for c in together:
            row_session[c] = session
    return sessions, row_session, references


def middle(lines):
    """A full session's lines between the start lines and the end line,
    without the frame overrun lines."""
    return [line for line in lines[2:-1] if not fs.is_overrun(line)]


def judge_session(session):
    """What went wrong with the session as such (None if nothing): a signal,
    a hang, an assertion or a sanitizer report, or a drive that failed."""
    if session.killed:
        return "still running when the test gave up (%s, got as far as %s)" % (session.error, session.stage)
    if session.status is not None and session.status < 0:
        return "ended by signal %d" % -session.status
    trouble = fs.stderr_trouble(session.stderr)
    if trouble:
        return "standard error shows %r: %s" % (trouble, session.stderr[-400:])
    return None


def stop_outcome(session):
    """The outcome a stopping session shows, in the table's terms, and the
    loader's message and the path line."""
    lines = session.lines
    if session.status != 1:
        return None, "exit status %r%s; output %r" % (
            session.status, " (%s)" % session.error if session.error else "", lines[-6:])
    body = [line for line in lines[2:] if not fs.is_overrun(line)]
    if lines[:2] != fs.FIRST_LINES or len(body) != 2:
        return None, "expected the start lines, the loader's message and a line naming the file; got %r" % lines
    where = "stops at start" if session.stage == "start" else "stops on Empezar"
    return where, body


def check_stops(case, session, problems):
    bad = judge_session(session)
    if bad:
        problems.append("%s: %s" % (case, bad))
        return
    if session.drive == "empezar" and session.stage == "start":
        problems.append("%s: expected %s, but it stopped before \"Empezar\" could be clicked: %r (%s)"
                        % (case, case.outcome, session.lines[-4:], session.error))
        return
    where, body = stop_outcome(session)
    if where is None:
        problems.append("%s: expected %s; %s" % (case, case.outcome, body))
        return
    if where != case.outcome:
        problems.append("%s: expected %s, got %s" % (case, case.outcome, where))
    expected = [line.replace("<folder>", os.path.realpath(session.cwd)) for line in case.printed]
    if body != expected:
        problems.append("%s: printed %r, expected %r" % (case, body, expected))


def full_session_problem(session):
    """Why a full session did not run cleanly to its end, or None."""
    bad = judge_session(session)
    if bad:
        return bad
    if session.error:
        return "%s (got as far as %s; output %r)" % (session.error, session.stage, session.lines[-4:])
    if session.status != 0:
        return "exit status %r after closing the window; output %r" % (session.status, session.lines[-4:])
    lines = session.lines
    if lines[:2] != fs.FIRST_LINES or lines[-1:] != ["Ending Demo "]:
        return "output does not start and end as a session does: %r" % lines
    return None


def loads(session, per_load):
    """How many picture loads the session's warnings make, each printing
    `per_load`; None when the warnings are not `per_load` repeated."""
    warnings = middle(session.lines)
    if not per_load:
        return 0 if not warnings else None
    n = len(warnings) // len(per_load)
    return n if warnings == per_load * n else None


def compare(case_session, reference, tolerant, workdir):
    """Differences between two sessions' pictures, stage by stage."""
    found = []
    for stage, pictures in case_session.screens.items():
        others = reference.screens.get(stage)
        # The icon's height in the two sessions' pictures: best matched.
        picture = next((p for p in pictures if others and any(p.data == o.data for o in others)), pictures[0])
        if not others:
            found.append("%s: no reference picture" % stage)
            continue
        if tolerant:
            mean, worst, icon = fs.block_difference(picture, others, workdir, case_session.key + "-" + stage)
            if mean > RESIZED_MEAN or worst > RESIZED_BLOCK or icon > RESIZED_BLOCK:
                found.append("%s: mean difference %.2f, worst block %.1f, icon %.1f" % (stage, mean, worst, icon))
        else:
            diff = fs.exact_difference(picture, others)
            if diff:
                found.append("%s: %s" % (stage, diff))
        if found and found[-1].startswith(stage):
            for name, p in (("game", picture), ("expected", others[0])):
                keep = os.path.join(tempfile.gettempdir(), "faults-%s-%s-%s.png" % (case_session.key, stage, name))
                h.save_png(p, keep)
            found[-1] += " (pictures: %s)" % os.path.join(
                tempfile.gettempdir(), "faults-%s-%s-*.png" % (case_session.key, stage))
    return found


def test(args):
    root = args.root
    cases = fs.read_table(os.path.join(root, TABLE))
    fs.check_table_complete(cases)
    sessions, row_session, references = plan(cases)
    if args.only:
        wanted = re.compile(args.only)
        keep = {k for k in sessions if wanted.search(k)}
        keep.add("original")
        keep |= {"reference-" + k[4:] for k in keep if k.startswith("all-")}
        sessions = {k: s for k, s in sessions.items() if k in keep}

    # Longest first: full sessions (the large pictures above all) take longest.
    order = sorted(sessions.values(), key=lambda s: (s.drive != "full", s.key != "all-large", s.key))
    workdir = tempfile.mkdtemp(prefix="faults-")
    started = time.monotonic()
    try:
        # Two workers, each with its X server for its sessions one after another.
        screens = []
        local = threading.local()
        lock = threading.Lock()

        def run(session):
            if not hasattr(local, "screen"):
                local.screen = fs.Screen()
                with lock:
                    screens.append(local.screen)
            return fs.run_session(session, args, workdir, local.screen)

        try:
            with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
                list(pool.map(run, order))
        finally:
            for screen in screens:
                screen.close()
    finally:
        # Unreadable files and directories: make everything removable.
        for dirpath, dirnames, filenames in os.walk(workdir):
            for name in dirnames + filenames:
                try:
                    os.chmod(os.path.join(dirpath, name), 0o755)
                except OSError:
                    pass
    elapsed = time.monotonic() - started

    problems = []
    broken = {}
    for s in sessions.values():
        if s.drive == "full":
            broken[s.key] = full_session_problem(s)

    # Loads per session, from the warnings each load prints: the same count
    # in every session, since they all play the same opening.
    per_form = {}
    for c in cases:
        if c.outcome == "runs":
            per_form.setdefault(c.case, c.printed)
            if per_form[c.case] != c.printed:
                problems.append("%s: the table's warnings differ from the other files of %s" % (c, c.case))
    counts = {}
    for s in sessions.values():
        if s.drive != "full" or broken[s.key]:
            continue
        if s.key.startswith("all-"):
            expected = per_form.get(s.key[4:], [])
        elif s.key.startswith("reference-"):
            expected = [w for w in per_form.get(s.key[10:], []) if "truecolor" not in w]
        else:
            expected = []
        n = loads(s, expected)
        if n is None:
            broken[s.key] = "its warnings are not %r once per load: %r" % (expected, middle(s.lines))
        elif expected:
            counts[s.key] = n
    if len(set(counts.values())) > 1:
        problems.append("the sessions' warnings count different numbers of loads: %r" % counts)
    with open(os.path.join(root, TABLE), encoding="utf-8") as f:
        stated = re.search(r"The opening loads pictures (\d+) times", f.read())
    if counts and (not stated or set(counts.values()) != {int(stated.group(1))}):
        problems.append("%s says the opening loads pictures %s times; the warnings count %r"
                        % (TABLE, stated.group(1) if stated else "?", counts))

    for key, s in sessions.items():
        if not key.startswith("all-") or broken[key]:
            continue
        form = key[4:]
        if form in references:
            reference = references[form]
        else:
            reference = sessions["original"]
        if broken.get(reference.key):
            continue
        for d in compare(s, reference, form in fs.RESIZED, workdir):
            broken[key] = (broken[key] + "; " if broken[key] else "") + "drawn otherwise than expected: " + d

    failed_rows = {}
    for c in cases:
        s = row_session.get(c)
        if s is None or s.key not in sessions:
            continue
        if c.outcome.startswith("stops"):
            check_stops(c, s, problems)
        elif broken[s.key]:
            failed_rows.setdefault(s.key, []).append(c)
    for key, rows in failed_rows.items():
        problems.append("%s (expected: %s) in session %s: %s" % (
            ", ".join("%s %s" % (c.name, c.case) for c in rows),
            "/".join(sorted({c.outcome for c in rows})), sessions[key].label(), broken[key]))
    for form, ref in references.items():
        if ref.key in sessions and broken[ref.key]:
            problems.append("reference session %s: %s" % (ref.label(), broken[ref.key]))
    if "original" in sessions and broken["original"]:
        problems.append("session %s: %s" % (sessions["original"].label(), broken["original"]))

    if args.verbose:
        for s in order:
            print("  %-28s %5.1f s  %s" % (s.key, s.seconds, s.stage), flush=True)
    slowest = max(sessions.values(), key=lambda s: s.seconds)
    print("%d cases in %d sessions, %.0f s (slowest: %s, %.0f s); %s loads of pictures per opening"
          % (len(cases), len(sessions), elapsed, slowest.key, slowest.seconds,
             sorted(set(counts.values())) or "?"), flush=True)
    if problems:
        seen = []
        for p in problems:
            if p not in seen:
                seen.append(p)
        raise h.Failure("%d case(s) behave otherwise than %s says:\n  %s"
                        % (len(seen), TABLE, "\n  ".join(seen)))
    shutil.rmtree(workdir, ignore_errors=True)


def options(parser):
    parser.add_argument("--only", help="run only the sessions whose names match this pattern")
    parser.add_argument("--verbose", action="store_true", help="say how long each session took")


if __name__ == "__main__":
    args = h.arguments(options)
    try:
        test(args)
        print("PASSED", flush=True)
    except h.Failure as failure:
        print("FAILED: %s" % failure, flush=True)
        sys.exit(1)
