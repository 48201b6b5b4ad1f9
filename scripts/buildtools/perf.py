"""Measures the game against the yardstick (bench/floor: a bare SDL 1.2 +
OpenGL program with the game's window, OpenGL state and 12-frames-per-second
loop), side by side in one run under a private X server, and prints a table
of both figures and their ratio.

    scripts/perf [--quick] [--no-build] [--build-dir DIR] [--markdown FILE]
    scripts/perf --web-only [--quick]     # the web page alone

The machine is shared and noisy: absolute figures move from run to run, the
ratios of figures taken in the same run hold. Nothing here passes or fails;
the last column only says whether each figure is within its target.
"""

import argparse
import datetime
import gzip
import json
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import harness  # (re-runs this script with the system's python3 if needed)
from harness import wine

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    parser.add_argument("--no-build", action="store_true", help="use the build as it is")
    parser.add_argument("--quick", action="store_true", help="short runs, for a smoke check")
    parser.add_argument("--markdown", help="also write the table to this file")
    parser.add_argument("--windows-build", default=os.path.join(ROOT, "build-windows"),
                        help="the Windows build (scripts/windows), measured under Wine")
    parser.add_argument("--no-windows", action="store_true", help="leave the Windows rows out")
    parser.add_argument("--web-dir", default=os.path.join(ROOT, "build-web", "page"),
                        help="the web page's folder (scripts/web builds it); skipped if absent")
    parser.add_argument("--web-only", action="store_true", help="measure only the web page")
    parser.add_argument("--packages-only", action="store_true",
                        help="only the script player's page and what kz package makes of the script demo")
    return parser.parse_args()


# --- Building ------------------------------------------------------------------


def build(args):
    subprocess.run([os.path.join(ROOT, "scripts", "setup")], check=True)
    subprocess.run(
        ["cmake", "-S", ROOT, "-B", args.build_dir, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    subprocess.run(
        ["cmake", "--build", args.build_dir, "-j%d" % os.cpu_count()],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    if not args.no_windows:
        # Without it the Windows rows are left out, and the table says so.
        subprocess.run([os.path.join(ROOT, "scripts", "windows")], stdout=subprocess.DEVNULL)


def program(args, *path):
    found = os.path.join(args.build_dir, *path)
    harness.check(os.path.exists(found), "%s is not built" % found)
    return found


# --- Reading a running process -------------------------------------------------


def cpu_seconds(pid):
    """User plus system time of the whole process (all its threads) so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def peak_resident_mib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def idle_cpu(pid, seconds, windows=None):
    """Share of one core the process used over `seconds` of wall time. The
    window (monotonic ns) is appended to `windows` when given."""
    before, start = cpu_seconds(pid), time.monotonic_ns()
    time.sleep(seconds)
    used, end = cpu_seconds(pid), time.monotonic_ns()
    if windows is not None:
        windows.append((start, end))
    return (used - before) / ((end - start) / 1e9)


def swaps(log):
    """Times of the frames put on screen so far (monotonic ns), from SwapClock."""
    try:
        with open(log) as f:
            return [int(line) for line in f if line.strip()]
    except FileNotFoundError:
        return []


def frames_per_second(times, windows):
    """Frames presented per second within the windows (monotonic ns pairs)."""
    frames = sum(1 for t in times for start, end in windows if start <= t < end)
    return frames / (sum(end - start for start, end in windows) / 1e9)


class Measured:
    """A program started with SwapClock preloaded, its frames logged: the
    game through harness.Game, or the yardstick."""

    def __init__(self, args, xserver, command):
        # A folder of its own for the frames' log, which the program creates.
        self.folder = tempfile.TemporaryDirectory(prefix="perf-swaps-")
        self.log = os.path.join(self.folder.name, "swaps")
        self.env = {
            "LD_PRELOAD": program(args, "bench", "libswapclock.so"),
            "PERF_SWAP_LOG": self.log,
        }
        self.started = time.monotonic_ns()
        if os.path.basename(command[0]) != "floor":
            self.game = GameProcess(command, ROOT, xserver, env=self.env)
        else:
            self.game = FloorProcess(command, xserver, self.env)

    def first_frame(self):
        return harness.wait_until(lambda: swaps(self.log), interval=0.002, what="the first frame")[0]

    def pid(self):
        return self.game.process.pid

    def finish(self):
        """Stops the program; returns its standard output."""
        if self.game.process.poll() is None:
            self.game.process.terminate()
        try:
            lines = self.game.output(timeout=30)
        except subprocess.TimeoutExpired:
            self.game.process.kill()
            lines = self.game.output(timeout=30)
        self.folder.cleanup()
        return lines


class FloorProcess:
    """The yardstick, run like harness.Game runs the game."""

    def __init__(self, command, xserver, env):
        environment = dict(os.environ, SDL_AUDIODRIVER="dummy", DISPLAY=xserver.name, **env)
        self.process = subprocess.Popen(
            command, cwd=ROOT, env=environment, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL
        )

        self.lines = None

    def output(self, timeout=None):
        """Its standard output, once it has ended."""
        if self.lines is None:
            out = self.process.communicate(timeout=timeout)[0]
            self.lines = out.decode("utf-8", "replace").splitlines()
        return self.lines


class GameProcess(harness.Game):
    """The game, as the end-to-end tests run it."""

    def output(self, timeout=None):
        """Its standard output so far; once it has ended when `timeout` is given."""
        if timeout is not None:
            self.process.wait(timeout=timeout)
            with self.changed:
                self.changed.wait_for(lambda: self.closed_stdout, 10)
        return super().output()


# --- The measurements ----------------------------------------------------------


def benchmarks(args, xserver, quick):
    """Medians of the frame and text benchmarks, CPU ms per iteration."""
    folder = tempfile.TemporaryDirectory(prefix="perf-bench-")
    out = os.path.join(folder.name, "report.json")
    command = [
        program(args, "bench", "perf_bench"),
        "--benchmark_repetitions=%d" % (3 if quick else 9),
        "--benchmark_min_time=%s" % ("0.1" if quick else "0.5"),
        "--benchmark_enable_random_interleaving=true",
        "--benchmark_report_aggregates_only=true",
        "--benchmark_out_format=json",
        "--benchmark_out=%s" % out,
    ]
    env = dict(os.environ, SDL_AUDIODRIVER="dummy", DISPLAY=xserver.name)
    with folder:
        subprocess.run(command, cwd=ROOT, env=env, check=True, stdout=subprocess.DEVNULL)
        with open(out) as f:
            return medians(json.load(f))


def medians(report):
    """CPU ms per iteration of each benchmark's median, from Google
    Benchmark's JSON report."""
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    found = {}
    for b in report["benchmarks"]:
        if b.get("aggregate_name") == "median":
            name = b["run_name"].replace("/process_time", "")
            found[name] = b["cpu_time"] * scale[b["time_unit"]]
    return found


def startup(args, xserver, commands, runs):
    """Start-up of each command, the runs interleaved: the median seconds from
    exec to the first frame on screen, and the first frame's overruns (each
    run is stopped shortly after its first frame)."""
    times = {name: [] for name in commands}
    overruns = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            m = Measured(args, xserver, command)
            try:
                times[name].append((m.first_frame() - m.started) / 1e9)
                time.sleep(0.05)  # the overrun line comes right after the swap
            finally:
                lines = m.finish()
            overruns[name] += [int(l[7:]) for l in lines if l.startswith("CPU OV ")][:1]
    return {
        name: {"median": statistics.median(times[name]), "overruns": overruns[name], "runs": runs}
        for name in commands
    }


def floor_session(args, xserver, mode, idle_seconds, pacing_seconds):
    """The yardstick left alone: idle CPU, frame rate, peak memory."""
    seconds = max(idle_seconds, pacing_seconds) + 3
    m = Measured(
        args, xserver, [program(args, "bench", "floor"), mode, "--seconds", str(seconds)]
    )
    try:
        first = m.first_frame()
        time.sleep(1)
        result = {"idle": idle_cpu(m.pid(), idle_seconds)}
        remaining = first + (seconds - 1) * 1e9 - time.monotonic_ns()
        if remaining > 0:
            time.sleep(remaining / 1e9)
        result["peak_mib"] = peak_resident_mib(m.pid())
        if pacing_seconds > 0:
            window = (first + 1e9, first + (1 + pacing_seconds) * 1e9)
            result["fps"] = frames_per_second(swaps(m.log), [window])
        result["overruns"] = [l for l in m.game.output(timeout=30) if l.startswith("CPU OV ")]
        result["cpu_ov"] = len(result["overruns"])
        return result
    finally:
        m.finish()


def demo_session(args, xserver, idle_seconds, pacing_seconds, command=None):
    """One session of the game (or of `command`: the script demo played by
    kz), played through in full by the team's automatic play-through, with
    three quiet stretches measured on the way: the main menu, the first line
    of the opening waiting for its click, and the investigation with the
    pointer resting on an object. Then the window is closed as a user would."""
    m = Measured(args, xserver, command or [program(args, "Demo")])
    game = m.game
    result = {}
    windows = []  # the quiet stretches of play, for the frame rate

    class MeasuredDemo(harness.Demo):
        def through_opening(self):
            self.wait_menu()
            time.sleep(1)
            result["idle_menu"] = idle_cpu(m.pid(), idle_seconds, windows)
            self.start()
            lines = [text for text, _ in harness.OPENING]
            self.wait_line(lines[0])
            time.sleep(1)
            result["idle_dialog"] = idle_cpu(m.pid(), idle_seconds, windows)
            self.go_on()
            self.play_lines(lines[1:])
            self.hover(self.obj("Policia"))
            time.sleep(1)
            result["idle_interactive"] = idle_cpu(m.pid(), idle_seconds, windows)
            # The three stretches make the pacing window; more play if asked.
            while sum(e - s for s, e in windows) < pacing_seconds * 1e9 * 0.999:
                idle_cpu(m.pid(), idle_seconds, windows)

    try:
        game.wait_for_line("Starting Demo")
        game.find_window()
        tool = program(args, "tests", "render_line")  # how the strip draws a line
        harness.play_through(MeasuredDemo(game, ROOT, tool))
        result["fps"] = frames_per_second(swaps(m.log), windows)
        result["peak_mib"] = peak_resident_mib(m.pid())
        game.close()
        result["status"] = game.wait_exit()
        lines = game.output()
        result["overruns"] = [l for l in lines if l.startswith("CPU OV ")]
        result["cpu_ov"] = len(result["overruns"])
        return result
    finally:
        game.kill()
        m.finish()


def instructions(args, xserver, state, frames=20):
    """Instructions per steady frame, counted by callgrind with Mesa
    rasterising on the drawing thread: repeatable whatever the load."""
    env = dict(os.environ, SDL_AUDIODRIVER="dummy", DISPLAY=xserver.name, LP_NUM_THREADS="0")
    out = subprocess.run(
        [
            "valgrind", "--tool=callgrind", "--toggle-collect=steadyFrames*",
            "--callgrind-out-file=/dev/null",
            program(args, "bench", "perf_frames"), state, str(frames),
        ],
        cwd=ROOT, env=env, capture_output=True, text=True,
    )
    counts = [int(c.replace(",", "")) for c in re.findall(r"Collected : ([\d,]+)", out.stderr)]
    harness.check(counts and max(counts) > 0, "callgrind counted nothing for %s" % state)
    return max(counts) / frames


def soak(command):
    """Resident memory (MiB) and live textures before and after the cycles."""
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    out = subprocess.run(command, cwd=ROOT, env=env, check=True, capture_output=True).stdout
    figures = soak_figures(out)
    harness.check(figures is not None, "no soak figures from %s" % command[0])
    return figures


def soak_figures(out):
    """The soak's line "soak N rss_kib A B heap_kib C D textures E F" as
    MiB and counts before and after, or None when it printed none."""
    match = re.search(
        rb"soak (\d+) rss_kib (\d+) (\d+) heap_kib (\d+) (\d+) textures (\d+) (\d+)", out)
    if match is None:
        return None
    n, rss0, rss1, heap0, heap1, tex0, tex1 = (int(g) for g in match.groups())
    return {"rss": (rss0 / 1024, rss1 / 1024), "heap": (heap0 / 1024, heap1 / 1024),
            "textures": (tex0, tex1)}


# --- Windows, under Wine ------------------------------------------------------------


def wine_cpu_seconds(prefix):
    """CPU time so far of every process of a private Wine prefix: the program,
    wineserver and Wine's helper processes, which all work for the program."""
    marker = ("WINEPREFIX=%s" % prefix).encode()
    total = 0.0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if marker in f.read().split(b"\0"):
                    total += cpu_seconds(int(pid))
        except OSError:  # gone meanwhile, or not ours to read
            continue
    return total


def wine_idle_cpu(prefix, seconds):
    before, start = wine_cpu_seconds(prefix), time.monotonic()
    time.sleep(seconds)
    return (wine_cpu_seconds(prefix) - before) / (time.monotonic() - start)


def window_rows(xserver, top=400):
    """The top rows of the viewable "Demo" window's picture (below them the
    strip's icon bobs), or None while there is no such window."""
    from Xlib import X, display as xdisplay

    x = xdisplay.Display(xserver.name)
    try:
        for child in x.screen().root.query_tree().children:
            try:
                if child.get_wm_name() == harness.WINDOW_TITLE and \
                        child.get_attributes().map_state == X.IsViewable:
                    return child.get_image(0, 0, 640, top, X.ZPixmap, 0xFFFFFFFF).data
            except Exception:  # the window went away meanwhile
                continue
        return None
    finally:
        x.close()


class WineProgram:
    """A program of the Windows package started from its folder under Wine,
    as a double-click does."""

    def __init__(self, package, xserver, command):
        env = dict(os.environ, SDL_AUDIODRIVER="dummy", DISPLAY=xserver.name, **package.env)
        self.started = time.monotonic()
        self.process = subprocess.Popen(["wine"] + command, cwd=package.folder, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def painted(self, xserver, picture):
        """Seconds from the start until the window shows `picture`."""
        harness.wait_until(lambda: window_rows(xserver) == picture, 60, 0.01, "the first frame")
        return time.monotonic() - self.started

    def settled(self, xserver):
        """The window's picture once it has had time to draw."""
        harness.wait_until(lambda: window_rows(xserver), 60, 0.05, "the window")
        time.sleep(3)
        return window_rows(xserver)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=30)


def windows(args, xserver, runs, idle_seconds):
    """Start-up and idle CPU of Demo.exe and of the yardstick built for
    Windows, both from the package's folder in one private Wine prefix."""
    zip_path = os.path.join(args.windows_build, "Demo-windows-x64.zip")
    with wine.Package(zip_path) as package:
        shutil.copy(os.path.join(args.windows_build, "bench", "floor.exe"), package.folder)
        commands = {"demo": ["Demo.exe"], "floor": ["floor.exe", "dialog"]}
        # The first run of each warms Wine and the file cache, and gives the
        # picture of its first frame: the menu, the yardstick's scene.
        pictures = {}
        for name, command in commands.items():
            p = WineProgram(package, xserver, command)
            try:
                pictures[name] = p.settled(xserver)
            finally:
                p.stop()
        times = {name: [] for name in commands}
        for _ in range(runs):
            for name, command in commands.items():
                p = WineProgram(package, xserver, command)
                try:
                    times[name].append(p.painted(xserver, pictures[name]))
                finally:
                    p.stop()
        result = {"start_" + name: statistics.median(t) for name, t in times.items()}

        for mode in ("interactive", "dialog"):
            p = WineProgram(package, xserver, ["floor.exe", mode])
            try:
                p.settled(xserver)
                result["floor_idle_" + mode] = wine_idle_cpu(package.prefix, idle_seconds)
            finally:
                p.stop()
        game = package.game(xserver)
        try:
            game.wait_for_line("Starting Demo")
            game.find_window()
            demo = harness.Demo(game, ROOT, program(args, "tests", "render_line"))
            demo.wait_menu()
            time.sleep(1)
            result["idle_menu"] = wine_idle_cpu(package.prefix, idle_seconds)
            demo.start()
            demo.wait_line(harness.OPENING[0][0])
            time.sleep(1)
            result["idle_dialog"] = wine_idle_cpu(package.prefix, idle_seconds)
            game.close()
            result["status"] = game.wait_exit()
        finally:
            game.kill()
    result["runs"] = runs
    return result


def windows_rows(w):
    return [
        ratio_row("Windows under Wine: start-up to the first painted frame (%d runs)" % w["runs"],
                  w["start_demo"] * 1000, w["start_floor"] * 1000, "ms", 1.25, "%.0f"),
        ratio_row("Windows under Wine: idle CPU, main menu", w["idle_menu"] * 100,
                  w["floor_idle_interactive"] * 100, "% CPU", 1.2, "%.1f"),
        ratio_row("Windows under Wine: idle CPU, a dialog line waiting", w["idle_dialog"] * 100,
                  w["floor_idle_dialog"] * 100, "% CPU", 1.2, "%.1f"),
    ]
def web_page(folder, runs, seconds):
    """The web page in headless Chromium: what it transfers (as served here,
    and gzip-compressed, as a server that compresses sends it), the median
    time from navigation to the first painted menu frame on a desktop and on
    each touch device (their processor four times slower, as a phone's), and
    the frame rate on the menu (the page counts the frames the game shows)."""
    from harness import browser
    import gzip

    def first_paint(page):
        return harness.wait_until(lambda: page.evaluate("window.demoFirstPaint"), harness.START_TIMEOUT,
                                  what="the first frame") / 1000

    # What the page loaded, as the browser counts it: path -> body bytes.
    loaded = ("Object.fromEntries(performance.getEntries().filter((e) => 'encodedBodySize' in e)"
              ".map((e) => [new URL(e.name).pathname.slice(1) || 'index.html', e.encodedBodySize]))")
    firsts, rates, sent = [], [], {}
    devices = [browser.PHONE, browser.PHONE_LANDSCAPE, browser.TABLET]
    device_firsts = {d.name: [] for d in devices}
    with browser.Server(folder) as server:
        for run in range(runs):
            page = browser.Browser(server.url)
            try:
                firsts.append(first_paint(page))
                # Everything the page loads comes before its first frame
                # (what is not there, a browser's guess at an icon, aside).
                sent = {name: size for name, size in page.evaluate(loaded).items()
                        if os.path.isfile(os.path.join(folder, name))}
                time.sleep(1)
                frames = "[window.demoFrames, window.demoLastFrame]"
                before = page.evaluate(frames)
                time.sleep(seconds)
                after = page.evaluate(frames)
                rates.append((after[0] - before[0]) * 1000 / (after[1] - before[1]))
            finally:
                page.kill()
            for device in devices:
                page = browser.Browser(server.url, device=device, throttle=4)
                try:
                    device_firsts[device.name].append(first_paint(page))
                finally:
                    page.kill()
    compressed = 0
    for name in sent:
        with open(os.path.join(folder, name), "rb") as f:
            compressed += len(gzip.compress(f.read(), 9))
    return {"weight": sum(sent.values()), "gzip": compressed, "files": sorted(sent),
            "first": statistics.median(firsts), "fps": statistics.median(rates),
            "devices": {name: statistics.median(times) for name, times in device_firsts.items()}}


# --- The table -----------------------------------------------------------------


def ratio_row(name, demo, floor, unit, limit, fmt="%.2f"):
    ratio = demo / floor if floor else float("inf")
    return [
        name,
        (fmt % demo) + " " + unit,
        (fmt % floor) + " " + unit,
        "%.2f x" % ratio,
        "at most %.2f x" % limit,
        "met" if ratio <= limit else "missed by %.0f %%" % ((ratio / limit - 1) * 100),
    ]


def web_rows(web):
    rows = []
    rows.append(["Web page: bytes transferred (%s)" % ", ".join(web["files"]),
                 "%d (%.2f MiB)" % (web["weight"], web["weight"] / 2**20), "", "",
                 "under 3 MiB", "met" if web["weight"] < 3 * 2**20 else "missed"])
    rows.append(["Web page: the same, gzip-compressed", "%d (%.2f MiB)" % (web["gzip"], web["gzip"] / 2**20),
                 "", "", "under 1 MiB", "met" if web["gzip"] < 2**20 else "missed"])
    rows.append(["Web page: navigation to the first painted menu frame (Chromium)",
                 "%.0f ms" % (web["first"] * 1000), "", "", "under 2000 ms",
                 "met" if web["first"] < 2 else "missed"])
    for name, first in web["devices"].items():
        rows.append(["Web page: the same on a %s, processor 4x slower" % name,
                     "%.0f ms" % (first * 1000), "", "", "under 4000 ms",
                     "met" if first < 4 else "missed"])
    rows.append(["Web page: frames per second on the menu", "%.2f fps" % web["fps"], "", "",
                 "12 within 1 %", "met" if abs(web["fps"] - 12) <= 0.12 else "missed"])
    return rows


def script_rows(b, counts, starts, demo, script):
    """The script demo played by kz against the C++ demo."""
    rows = []
    for state, label in (("interactive", "investigating"), ("dialog", "a dialog line showing")):
        rows.append(ratio_row("Script demo: CPU per frame, %s (kz / Demo)" % label,
                              b["scriptFrame/" + state], b["demoFrame/" + state], "ms", 1.05))
        if counts:
            rows.append(ratio_row("Script demo: instructions per frame, %s (callgrind)" % label,
                                  counts["script-" + state] / 1e6, counts["demo-" + state] / 1e6,
                                  "M", 1.05, "%.1f"))
    rows.append(ratio_row("Script demo: start-up to the first painted frame (kz / Demo)",
                          starts["kz"]["median"] * 1000, starts["demo"]["median"] * 1000, "ms", 1.1,
                          "%.0f"))
    extra = script["peak_mib"] - demo["peak_mib"]
    rows.append(["Script demo: peak resident memory (kz / Demo)", "%.1f MiB" % script["peak_mib"],
                 "%.1f MiB" % demo["peak_mib"], "%+.1f MiB" % extra, "at most +2 MiB",
                 "met" if extra <= 2 else "missed by %.1f MiB" % (extra - 2)])
    check = b["scriptCheck/generated_200_scenes_20000_lines"]
    rows.append(["Script: read and check 200 scenes, 20,000 lines", "%.1f ms" % check, "", "",
                 "under 100 ms", "met" if check < 100 else "missed"])
    return rows


def package_rows(args):
    """The bytes, raw and gzip-compressed, of the script player's page alone
    and of each package `kz package` makes of the script demo, beside their
    bounds: the page 300 KB compressed, the demo packed as a page no more
    than the demo's own page, the Windows zip 2.5 MiB."""
    kz = program(args, "kz")
    player = os.path.join(args.build_dir, "share", "kz", "players", "web")
    if not os.path.exists(os.path.join(player, "kz.wasm")):
        return [["Packages: no web player in %s (scripts/test builds it)" % player, "", "", "", "", ""]]

    def size(paths):
        files = [os.path.join(d, f) for p in paths for d, _, fs in
                 (os.walk(p) if os.path.isdir(p) else [("", [], [p])]) for f in fs]
        raw = sum(os.path.getsize(f) for f in files)
        packed = sum(len(gzip.compress(open(f, "rb").read(), 9)) for f in files)
        return "%d / %d" % (raw, packed), raw, packed

    shown, _, packed = size([os.path.join(player, f) for f in ("index.html", "kz.js", "kz.wasm")])
    rows = [["Player's page without a game (bytes / gzip)", shown, "", "", "at most 300 KB compressed",
             "met" if packed <= 300 * 1024 else "missed"]]
    demo_page = size([args.web_dir])[1] if os.path.isdir(args.web_dir) else None
    with tempfile.TemporaryDirectory() as out:
        for target in ("windows", "web", "linux"):
            subprocess.run([kz, "package", program(args, "games", "demo"), "--for", target, "--out", out],
                           check=True, stdout=subprocess.DEVNULL)
        for name in sorted(os.listdir(out)):
            shown, raw, _ = size([os.path.join(out, name)])
            target, verdict = "", ""
            if name.endswith("-windows-x64.zip"):
                target, verdict = "at most 2.5 MiB", "met" if raw <= 2.5 * 2**20 else "missed"
            elif name.endswith("-web") and demo_page:
                target, verdict = "at most the demo's page, %d" % demo_page, "met" if raw <= demo_page else "missed"
            rows.append(["kz package of the script demo: %s (bytes / gzip)" % name, shown, "", "", target, verdict])
    return rows


def table(b, counts, starts, floors, demo, soaks, pacing, web, script=None):
    rows = [
        ratio_row(
            "CPU per frame, investigating (pointer on an object)",
            b["demoFrame/interactive"], b["floorFrame/interactive"], "ms", 1.2),
        ratio_row(
            "CPU per frame, a dialog line showing",
            b["demoFrame/dialog"], b["floorFrame/dialog"], "ms", 1.2),
    ]
    for state, label in (("interactive", "investigating"), ("dialog", "a dialog line showing")):
        if counts:
            rows.append(ratio_row(
                "Instructions per frame, %s (callgrind)" % label,
                counts["demo-" + state] / 1e6, counts["floor-" + state] / 1e6, "M", 1.2, "%.1f"))
    text = b["demoText/short_line"]
    rows.append([
        "Text: lay out and render one dialog line",
        "%.0f us" % (text * 1000),
        "%.0f us" % (b["floorText/short_line"] * 1000),
        "%.2f x" % (text / b["floorText/short_line"]),
        "under 1000 us",
        "met" if text < 1.0 else "missed",
    ])
    long_text = b["demoText/long_line"]
    rows.append([
        "Text: the longest opening line (two lines)",
        "%.0f us" % (long_text * 1000), "", "", "under 1000 us",
        "met" if long_text < 1.0 else "missed",
    ])
    rows.append(ratio_row("Start-up to the first painted frame", starts["demo"]["median"] * 1000,
                          starts["floor"]["median"] * 1000, "ms", 1.25, "%.0f"))
    rows.append(["  (floor that only clears)", "",
                 "%.0f ms" % (starts["clear"]["median"] * 1000), "", "", ""])

    def first_frames(who):
        over = starts[who]["overruns"]
        text = "%d of %d" % (len(over), starts[who]["runs"])
        return text + (" (median %d ms)" % statistics.median(over) if over else "")

    rows.append(["First frame over its 83 ms (start-up runs)", first_frames("demo"),
                 first_frames("floor"), "", "none", "met" if not starts["demo"]["overruns"]
                 else "missed"])
    extra = demo["peak_mib"] - floors["dialog"]["peak_mib"]
    rows.append([
        "Peak resident memory (whole session)",
        "%.1f MiB" % demo["peak_mib"],
        "%.1f MiB" % floors["dialog"]["peak_mib"],
        "%+.1f MiB" % extra,
        "at most +10 MiB",
        "met" if extra <= 10 else "missed by %.1f MiB" % (extra - 10),
    ])
    for label, key, floor_key in (
        ("Idle CPU, main menu", "idle_menu", "interactive"),
        ("Idle CPU, a dialog line waiting", "idle_dialog", "dialog"),
        ("Idle CPU, investigating, pointer still", "idle_interactive", "interactive"),
    ):
        rows.append(ratio_row(label, demo[key] * 100, floors[floor_key]["idle"] * 100,
                              "% CPU", 1.2, "%.1f"))
    fps = demo["fps"]
    rows.append([
        "Pacing: frames per second over %d s of play" % pacing,
        "%.2f fps" % fps,
        "%.2f fps" % floors["dialog"]["fps"],
        "%.3f x" % (fps / floors["dialog"]["fps"]),
        "12 within 1 %",
        "met" if abs(fps - 12) <= 0.12 else "missed",
    ])
    rows.append([
        "\"CPU OV \" lines in a full autoplay",
        "%d" % demo["cpu_ov"],
        "%d" % floors["dialog"]["cpu_ov"],
        "",
        "none",
        "met" if demo["cpu_ov"] == 0 else "missed",
    ])
    if script:
        rows += script_rows(b, counts, starts, demo, script)
    if web:
        rows += web_rows(web)
    d, f = soaks["demo"], soaks["floor"]
    n = soaks["cycles"]
    # Resident memory moves by a few MiB either way from one reading to the
    # next (the background's 2 MiB decode buffer and texture come and go); the
    # heap in use and the textures are what a leak would make grow.
    for label, key, unit, fmt, tolerance, target in (
        ("Heap in use across %d hide/show cycles" % n, "heap", "MiB", "%.2f", 0.0625,
         "flat (64 KiB)"),
        ("Live GL textures across %d hide/show cycles" % n, "textures", "", "%d", 0, "flat"),
        ("Resident memory across %d hide/show cycles" % n, "rss", "MiB", "%.1f", 4.0,
         "flat (4 MiB)"),
    ):
        growth = d[key][1] - d[key][0]
        rows.append([
            label,
            (fmt + " -> " + fmt + " %s") % (d[key][0], d[key][1], unit),
            (fmt + " -> " + fmt + " %s") % (f[key][0], f[key][1], unit),
            "",
            target,
            "met" if growth <= tolerance else ("missed: grows " + fmt + " %s") % (growth, unit),
        ])
    return rows


def markdown(rows):
    header = ["figure", "demo", "floor", "ratio", "target", "verdict"]
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    for row in rows:
        lines.append("| " + " | ".join(c.strip() if i else c for i, c in enumerate(row)) + " |")
    return "\n".join(lines)


def machine():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    return "%s, %d cores, %s, Linux %s" % (
        cpu, os.cpu_count(), renderer(), platform.release())


def renderer():
    try:
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libgl1-mesa-dri"],
                             capture_output=True, text=True).stdout
        return "Mesa %s (llvmpipe) under Xvfb" % out.split("-")[0] if out else "Mesa under Xvfb"
    except OSError:
        return "Mesa under Xvfb"


def main():
    args = parse_arguments()
    quick = args.quick
    idle = 3 if quick else 10
    pacing = 3 * idle  # the game's three quiet stretches
    runs = 3 if quick else 7
    cycles = 50 if quick else 1000
    if args.packages_only:
        print(markdown(package_rows(args)))
        return
    if args.web_only:
        stamp = datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z")
        print("%s\n%s%s\n\n%s" % (stamp, machine(), " (quick run)" if quick else "",
                                   markdown(web_rows(web_page(args.web_dir, runs, idle)))))
        return
    if not args.no_build:
        build(args)
    began = time.monotonic()

    def say(what):
        print("[%5.0f s] %s" % (time.monotonic() - began, what), file=sys.stderr, flush=True)

    floor = program(args, "bench", "floor")
    with harness.XServer() as xserver:
        say("frame and text benchmarks")
        b = benchmarks(args, xserver, quick)
        counts = {}
        if not quick:
            say("instructions per frame under callgrind")
            for state in ("demo-interactive", "floor-interactive", "demo-dialog", "floor-dialog",
                          "script-interactive", "script-dialog"):
                counts[state] = instructions(args, xserver, state)
        say("start-up, %d runs each" % runs)
        commands = {
            "floor": [floor, "dialog"],
            "demo": [program(args, "Demo")],
            "clear": [floor, "clear"],
            "kz": [program(args, "kz"), program(args, "games", "demo")],
        }
        startup(args, xserver, commands, 1)  # warms the file cache
        starts = startup(args, xserver, commands, runs)
        say("the floor left alone")
        floors = {
            "interactive": floor_session(args, xserver, "interactive", idle, 0),
            "dialog": floor_session(args, xserver, "dialog", idle, pacing),
        }
        say("a session of the game")
        demo = demo_session(args, xserver, idle, pacing)
        say("a session of the script demo, played by kz")
        script = demo_session(args, xserver, idle, pacing,
                              [program(args, "kz"), program(args, "games", "demo")])
        say("hide/show soak, %d cycles each" % cycles)
        env_display = os.environ.get("DISPLAY")
        os.environ["DISPLAY"] = xserver.name
        try:
            soaks = {
                "cycles": cycles,
                "floor": soak([floor, "dialog", "--soak", str(cycles)]),
                "demo": soak([program(args, "bench", "perf_soak"), str(cycles)]),
            }
        finally:
            if env_display is None:
                os.environ.pop("DISPLAY", None)
            else:
                os.environ["DISPLAY"] = env_display
        win = None
        package = os.path.join(args.windows_build, "Demo-windows-x64.zip")
        if not args.no_windows and not os.path.exists(package):
            say("no Windows package at %s: its rows are left out" % package)
        elif not args.no_windows:
            say("Windows: start-up and idle CPU under Wine, %d runs each" % runs)
            win = windows(args, xserver, runs, idle)
    web = None
    if os.path.exists(os.path.join(args.web_dir, "index.html")):
        say("the web page in Chromium, %d runs" % runs)
        web = web_page(args.web_dir, runs, idle)
    rows = table(b, counts, starts, floors, demo, soaks, pacing, web, script) + package_rows(args)
    if win:
        rows += windows_rows(win)
    stamp = datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z")
    text = "%s\n%s%s\n\n%s\n" % (
        stamp, machine(), " (quick run)" if quick else "", markdown(rows))
    for who, lines in (("game", demo["overruns"]), ("floor", floors["dialog"]["overruns"])):
        if lines:
            text += "\nThe %s's overruns: %s.\n" % (who, ", ".join(l[7:] + " ms" for l in lines))
    if demo["status"] != 0:
        text += "\nThe game ended with status %d.\n" % demo["status"]
    if win and win["status"] != 0:
        text += "\nThe Windows game ended with status %d under Wine.\n" % win["status"]
    print(text)
    if args.markdown:
        with open(args.markdown, "w") as f:
            f.write(text)


def run():
    """scripts/perf: main(), a failed check said on stderr with status 1."""
    try:
        main()
    except harness.Failure as failure:
        print("perf: %s" % failure, file=sys.stderr)
        sys.exit(1)
