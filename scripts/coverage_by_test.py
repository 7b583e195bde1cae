#!/usr/bin/env python3
"""What each test adds to line and branch coverage.

Runs every test of the coverage build on its own, each with its own gcov data, and prints:
- per test file, the lines and branches of the code that no test of another file covers;
- the tests whose coverage the remaining tests already give, taken largest first, so that
  together they could go without losing a line or a branch, with their own lines.

Coverage cannot see what a test asserts: a test on that list may still be the only one to check
a value, a byte layout or a race. The list says where to look, not what to delete.

Needs the coverage build (scripts/coverage.sh) and a display for the X11 tests:
    xvfb-run -a scripts/coverage_by_test.py [--build build/coverage] [--jobs N]
"""
import argparse
import collections
import contextlib
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
CODE_DIRS = ("src/", "tools/")
TEST_MACRO = re.compile(r"^(?:TEST|TEST_F|TEST_P|TYPED_TEST)\s*\(\s*(\w+)\s*,\s*(\w+)\s*\)")


def code_lines(lines):
    """Non-blank lines that are not // comments."""
    return sum(1 for line in lines if line.strip() and not line.strip().startswith("//"))


def test_definitions():
    """(suite, name) -> (file, lines of its body up to the next test or the end)."""
    found = {}
    for folder, _, files in os.walk(os.path.join(ROOT, "tests")):
        for file in files:
            if not file.endswith(".cpp"):
                continue
            path = os.path.join(folder, file)
            with open(path, errors="replace") as f:
                text = f.read().split("\n")
            starts = [(i, m) for i, line in enumerate(text) for m in [TEST_MACRO.match(line)] if m]
            for j, (i, m) in enumerate(starts):
                end = starts[j + 1][0] if j + 1 < len(starts) else len(text)
                found[(m.group(1), m.group(2))] = (os.path.relpath(path, ROOT), code_lines(text[i:end]))
    return found


def definition_of(ctest_name):
    """'Prefix/Suite.Name/param  # GetParam() = ...' -> (Suite, Name)."""
    for part in ctest_name.split("  #")[0].split("/"):
        if "." in part:
            suite, name = part.split(".", 1)
            return suite, name
    return None


# Tests that share a resource (the X11 tests move the one pointer) run one at a time, as in ctest.
resource_locks = collections.defaultdict(threading.Lock)


def run_one(test, build, prefix):
    """Runs one test with its gcov data under prefix; answers (passed, items covered)."""
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(prefix)
    env = dict(os.environ, GCOV_PREFIX=prefix, GCOV_PREFIX_STRIP="0")
    cwd = build
    locks = []
    for prop in test.get("properties", []):
        if prop["name"] == "ENVIRONMENT":
            env.update(kv.split("=", 1) for kv in prop["value"])
        elif prop["name"] == "WORKING_DIRECTORY":
            cwd = prop["value"]
        elif prop["name"] == "RESOURCE_LOCK":
            locks = [resource_locks[name] for name in sorted(prop["value"])]
    with contextlib.ExitStack() as held:
        for lock in locks:
            held.enter_context(lock)
        try:
            passed = subprocess.run(test["command"], cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, timeout=600).returncode == 0
        except subprocess.TimeoutExpired:
            passed = False
    data = glob.glob(prefix + "/**/*.gcda", recursive=True)
    for gcda in data:
        # gcov looks for the notes file beside the data file.
        notes = gcda[len(prefix):-5] + ".gcno"
        if os.path.exists(notes):
            os.symlink(notes, gcda[:-5] + ".gcno")
    covered = set()
    if data:
        out = subprocess.run(["gcov", "--json-format", "--stdout", "--branch-probabilities"] + data,
                             cwd=prefix, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        for chunk in out.decode(errors="replace").splitlines():
            if not chunk.startswith("{"):
                continue
            report = json.loads(chunk)
            for file in report["files"]:
                path = os.path.normpath(
                    os.path.join(report.get("current_working_directory", ""), file["file"]))
                rel = os.path.relpath(path, ROOT)
                if not rel.startswith(CODE_DIRS):
                    continue
                for line in file["lines"]:
                    if line["count"] > 0:
                        covered.add((rel, line["line_number"]))
                    for k, branch in enumerate(line["branches"]):
                        if branch["count"] > 0 and not branch.get("throw"):
                            covered.add((rel, line["line_number"], k))
    return passed, covered


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "coverage"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    listing = subprocess.check_output(["ctest", "--test-dir", build, "--show-only=json-v1"])
    tests = json.loads(listing)["tests"]
    definitions = test_definitions()

    covered_by = collections.defaultdict(set)  # (suite, name) -> items, over its instances
    failed = []
    done = [0]
    lock = threading.Lock()
    scratch = tempfile.mkdtemp(prefix="coverage-by-test-")

    def worker(k):
        for i in range(k, len(tests), args.jobs):
            passed, covered = run_one(tests[i], build, os.path.join(scratch, str(k)))
            with lock:
                if not passed:
                    failed.append(tests[i]["name"])
                covered_by[definition_of(tests[i]["name"])] |= covered
                done[0] += 1
                print(f"\r{done[0]}/{len(tests)}", end="", file=sys.stderr, flush=True)

    with ThreadPoolExecutor(args.jobs) as pool:
        list(pool.map(worker, range(args.jobs)))
    print(file=sys.stderr)
    shutil.rmtree(scratch, ignore_errors=True)

    count = collections.Counter()
    for items in covered_by.values():
        count.update(items)
    lines = sum(1 for item in count if len(item) == 2)
    print(f"{len(tests)} tests, {len(failed)} failed; covered: {lines} lines, "
          f"{len(count) - lines} branches of {', '.join(CODE_DIRS)}")
    for name in failed:
        print(f"  failed: {name}")

    by_file = collections.defaultdict(list)
    for key in covered_by:
        by_file[definitions.get(key, ("?", 0))[0]].append(key)
    print("\nCovered by the tests of one file only (lines, branches):")
    rows = []
    for file, keys in by_file.items():
        own = collections.Counter()
        for key in keys:
            own.update(covered_by[key])
        only = [item for item, n in own.items() if count[item] == n]
        only_lines = sum(1 for item in only if len(item) == 2)
        rows.append((len(only), file, only_lines, len(only) - only_lines))
    for _, file, only_lines, only_branches in sorted(rows):
        print(f"  {only_lines:5} {only_branches:5}  {file}")

    print("\nTests that the others cover, largest first (lines of the test):")
    remaining = count.copy()
    total = 0
    for key in sorted(covered_by, key=lambda k: -definitions.get(k, ("?", 0))[1]):
        if key is None or not all(remaining[item] >= 2 for item in covered_by[key]):
            continue
        remaining.subtract(covered_by[key])
        file, size = definitions.get(key, ("?", 0))
        total += size
        print(f"  {size:4}  {file}: {key[0]}.{key[1]}")
    print(f"  {total} lines in all")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
