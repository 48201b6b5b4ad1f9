"""The project's build programs, as tested code: what scripts/deps decides
(which Debian revision to build, when a refused one is tried again, what
goes into a cache key, how a copied prefix is rewritten, parallel compiles)
and how scripts/perf computes its figures. The scripts are thin entry points
into it; tests/scripts/test_buildtools.py holds its decisions to account.

- failures: a step's failure reported as the shell scripts' failures.sh does.
- versions: Debian version order (as dpkg compares).
- sources: Debian's source packages: package lists, refused revisions, choice.
- cache: the cache folder, the keys, copying a prefix, parallel compiles.
- deps: the recipe that builds the libraries (scripts/deps).
- perf: the measurements and their table (scripts/perf).

Run from the checkout with scripts/ on PYTHONPATH (the scripts do that).
"""
