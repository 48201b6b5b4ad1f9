"""The build programs' decisions (scripts/buildtools): which Debian revision
is built, when a refused one is asked for again, what a cache key covers,
how a copied prefix is rewritten, where the cache is, how figures are made."""

import io
import os
import tempfile
import time
import unittest

from buildtools import cache, perf, sources, versions
from buildtools.failures import Steps

DAY = 24 * 60 * 60


class SourceChoice(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.store = sources.Store(self.folder.name)
        self.said = []
        self.asked = []

    def tearDown(self):
        self.folder.cleanup()

    def put(self, package, version, complete=True):
        """A .dsc in the store, with its one file there or missing."""
        name = "%s_%s.orig.tar.xz" % (package, version.split(":")[-1])
        with open(self.store.dsc_path(package, version), "w") as f:
            f.write("Format: 3.0\nFiles:\n 0123abcd 42 %s\nChecksums-Sha256:\n 99 42 other\n" % name)
        if complete:
            open(os.path.join(self.folder.name, name), "w").close()

    def choose(self, listed, fetch=lambda p, v: False):
        def download(package, version):
            self.asked.append(version)
            return self.store.download(package, version, fetch, self.said.append, sleep=lambda s: None)

        return sources.choose(self.store, "zlib", "1.2.13", listed, download, self.said.append)

    def test_a_refused_revision_falls_back_and_is_not_asked_again_within_the_day(self):
        self.put("zlib", "1:1.2.13.dfsg-1")
        listed = ["1:1.2.13.dfsg-1", "1:1.2.13.dfsg-1+deb12u1", "1:1.2.130-1"]
        self.assertEqual(self.store.dsc_path("zlib", "1:1.2.13.dfsg-1"), self.choose(listed))
        self.assertEqual(["1:1.2.13.dfsg-1+deb12u1"], self.asked)
        self.assertIn("  zlib: 1:1.2.13.dfsg-1+deb12u1 could not be fetched; taking 1:1.2.13.dfsg-1", self.said)
        self.assertTrue(self.store.refused("zlib", "1:1.2.13.dfsg-1+deb12u1"))
        # Asked again only once the note is a day old.
        self.choose(listed)
        self.assertEqual(["1:1.2.13.dfsg-1+deb12u1"] * 2, self.asked)
        self.assertEqual(1, sum(s.startswith("  fetching") for s in self.said))
        old = time.time() - DAY - 60
        os.utime(self.store.refused_file, (old, old))
        self.assertFalse(self.store.refused("zlib", "1:1.2.13.dfsg-1+deb12u1"))

    def test_the_newest_listed_revision_is_fetched_and_built(self):
        def fetch(package, version):
            self.put(package, version)
            return True

        chosen = self.choose(["1:1.2.13.dfsg-1", "1:1.2.13.dfsg-1+deb12u1"], fetch)
        self.assertEqual(self.store.dsc_path("zlib", "1:1.2.13.dfsg-1+deb12u1"), chosen)
        self.assertEqual(["  fetching zlib 1:1.2.13.dfsg-1+deb12u1"], self.said)

    def test_without_lists_the_newest_complete_one_here_is_built(self):
        self.put("zlib", "1.2.13.dfsg-1")
        self.put("zlib", "1.2.13.dfsg-2", complete=False)
        self.assertEqual(self.store.dsc_path("zlib", "1.2.13.dfsg-1"), self.choose([]))
        self.assertEqual(["  zlib: no listed revision could be fetched; taking zlib_1.2.13.dfsg-1.dsc"], self.said)
        self.assertIsNone(sources.choose(self.store, "freetype", "2.12.1", [], None, self.said.append))

    def test_debian_version_order(self):
        self.assertEqual(["2:0.1-1", "1.2.13-2", "1.2.13-1+deb12u1", "1.2.13-1", "1.2.13-1~bpo1", "1.2.9-1"],
                         versions.newest_first(["1.2.9-1", "1.2.13-1~bpo1", "1.2.13-1", "2:0.1-1",
                                                "1.2.13-1+deb12u1", "1.2.13-2", "1.2.13-1"]))

    def test_old_package_lists_are_refreshed(self):
        with tempfile.TemporaryDirectory() as lists:
            self.assertTrue(sources.lists_are_old(lists))
            path = os.path.join(lists, "deb.debian.org_debian_dists_bookworm_main_source_Sources")
            open(path, "w").close()
            self.assertFalse(sources.lists_are_old(lists))
            os.utime(path, (time.time() - 2 * DAY,) * 2)
            self.assertTrue(sources.lists_are_old(lists))
        self.assertEqual([("debian-src.list", "deb-src http://deb.debian.org/debian bookworm main\n")],
                         sources.source_entries(sources_list="# deb x\ndeb http://deb.debian.org/debian bookworm main\n"))


class Cache(unittest.TestCase):
    def test_a_changed_header_changes_the_key_but_not_the_base(self):
        base = cache.base_key("web", "emscripten 3.1.6", ["zlib_1.2.13.dfsg-1.dsc"], [b"recipe"])
        header = [("compat/SDL_ttf.h", b"int TTF_Init(void);")]
        changed = [("compat/SDL_ttf.h", b"int TTF_Init(void); ")]
        self.assertNotEqual(cache.key(base, header), cache.key(base, changed))
        self.assertEqual(cache.key(base, header), cache.key(base, list(header)))
        for other in (cache.base_key("web", "emscripten 3.1.7", ["zlib_1.2.13.dfsg-1.dsc"], [b"recipe"]),
                      cache.base_key("web", "emscripten 3.1.6", ["zlib_1.2.13.dfsg-2.dsc"], [b"recipe"]),
                      cache.base_key("web", "emscripten 3.1.6", ["zlib_1.2.13.dfsg-1.dsc"], [b"recipe2"])):
            self.assertNotEqual(base, other)

    def test_a_relative_cache_is_relative_to_where_it_was_asked_from(self):
        self.assertEqual("/work/a/c", cache.cache_folder({"DEMO_DEPS_CACHE": "../a/c"}, "/work/b"))
        self.assertEqual("/x/demo-deps", cache.cache_folder({"DEMO_DEPS_CACHE": "", "XDG_CACHE_HOME": "/x"}, "/"))
        self.assertEqual("/home/u/.cache/demo-deps", cache.cache_folder({"HOME": "/home/u"}, "/"))

    def test_a_copied_prefix_names_its_new_place_in_text_files_only(self):
        with tempfile.TemporaryDirectory() as work:
            base, prefix = os.path.join(work, "windows-base.1"), os.path.join(work, "windows-2")
            os.makedirs(os.path.join(base, "lib", "pkgconfig"))
            files = {"lib/pkgconfig/png.pc": "prefix=%s\nlib=%s/lib\n" % (base, base),
                     "lib/other.pc": "prefix=%s\n" % base.replace(".", "x"),
                     "lib/libz.a": "\0%s" % base, ".complete": ""}
            for name, text in files.items():
                with open(os.path.join(base, name), "w") as f:
                    f.write(text)
            os.symlink("pkgconfig/png.pc", os.path.join(base, "lib", "link.pc"))
            cache.copy_prefix(base, prefix)

            def read(name):
                with open(os.path.join(prefix, name)) as f:
                    return f.read()

            self.assertEqual("prefix=%s\nlib=%s/lib\n" % (prefix, prefix), read("lib/pkgconfig/png.pc"))
            self.assertEqual(files["lib/other.pc"], read("lib/other.pc"))  # "." is no wildcard
            self.assertEqual(files["lib/libz.a"], read("lib/libz.a"))
            self.assertTrue(os.path.islink(os.path.join(prefix, "lib", "link.pc")))
            self.assertFalse(os.path.exists(os.path.join(prefix, ".complete")))
            self.assertTrue(os.path.exists(os.path.join(base, ".complete")))

    def test_parallel_compiles_all_run_and_failures_are_named(self):
        with tempfile.TemporaryDirectory() as work:
            log = os.path.join(work, "log")
            commands = [["sh", "-c", "echo %d" % i] for i in range(5)] + [["sh", "-c", "exit 3"]]
            self.assertEqual(["sh -c 'exit 3'"], cache.run_parallel(commands, 2, log))
            with open(log) as f:
                self.assertEqual(["0", "1", "2", "3", "4"], sorted(f.read().split()))


class Failures(unittest.TestCase):
    def test_a_failure_names_its_step_and_shows_the_end_of_its_log(self):
        with tempfile.NamedTemporaryFile("w", suffix=".log") as log:
            log.write("".join("line %d\n" % i for i in range(50)) + "configure: error: no such flag\n")
            log.flush()
            steps, out = Steps("scripts/deps"), io.StringIO()
            steps.step("building FreeType", log.name)
            steps.report(2, "cmake --build x", out)
        text = out.getvalue().splitlines()
        self.assertEqual("scripts/deps: failed while building FreeType (status 2, at: cmake --build x)", text[0])
        self.assertEqual(["line 11", "configure: error: no such flag"], [text[2], text[-1]])
        self.assertEqual(42, len(text))


class Figures(unittest.TestCase):
    def test_frames_count_only_within_the_quiet_stretches(self):
        second = 10**9
        times = [0, second // 2, second, 3 * second, 3 * second + 1, 10 * second]
        self.assertEqual(2.0, perf.frames_per_second(times, [(0, second), (3 * second, 4 * second)]))

    def test_benchmark_medians_in_ms_and_soak_figures_in_mib(self):
        report = {"benchmarks": [
            {"run_name": "demoFrame/dialog/process_time", "aggregate_name": "median", "cpu_time": 1500,
             "time_unit": "us"},
            {"run_name": "demoFrame/dialog/process_time", "aggregate_name": "mean", "cpu_time": 9, "time_unit": "ms"},
            {"run_name": "floorText/short_line", "aggregate_name": "median", "cpu_time": 250000, "time_unit": "ns"}]}
        self.assertEqual({"demoFrame/dialog": 1.5, "floorText/short_line": 0.25}, perf.medians(report))
        self.assertEqual({"rss": (2.0, 3.0), "heap": (1.0, 1.5), "textures": (4, 4)},
                         perf.soak_figures(b"x\nsoak 50 rss_kib 2048 3072 heap_kib 1024 1536 textures 4 4\n"))
        self.assertIsNone(perf.soak_figures(b"soak 50 rss_kib 2048\n"))

    def test_a_ratio_over_its_limit_says_by_how_much(self):
        self.assertEqual(["CPU", "1.20 ms", "1.00 ms", "1.20 x", "at most 1.20 x", "met"],
                         perf.ratio_row("CPU", 1.2, 1.0, "ms", 1.2))
        self.assertEqual("missed by 25 %", perf.ratio_row("CPU", 1.5, 1.0, "ms", 1.2)[5])
        self.assertEqual("inf x", perf.ratio_row("CPU", 1.0, 0, "ms", 1.2)[3])


if __name__ == "__main__":
    unittest.main()
