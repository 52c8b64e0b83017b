#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
"""Mutation sweep, by hand and outside `make test` (hours): one small fault at a time in the product
code, built, and the tests it can reach run (those relinked; end-to-end ones after the program's
relink; all after a helper's). Prints CAUGHT, SURVIVED or BROKEN per mutant, a kill rate per folder.
Each verdict is also added to a log in the build folder; a sweep started again with the same log
takes the verdicts it holds and goes on where the last one stopped (a full sweep takes many hours).
    scripts/mutation.py [--build build] [--per-file 8 | --per-file 0 for every mutant] [--seed 1]
                        [--tests REGEX] [--log FILE] [--count] [file or folder...]"""
import argparse, json, os, pathlib, random, re, subprocess, sys

FOLDERS = "core platform pictures controls assets signs doors signboard settings panels app".split()
FLIPS = {" < ": " >= ", " > ": " <= ", " <= ": " > ", " >= ": " < ", " == ": " != ", " != ": " == ",
         " && ": " || ", " || ": " && ", "true": "false", "false": "true"}


def mutants(lines):
    """(line index, description, new line) for every place a rule applies."""
    for i, line in enumerate(lines):
        code = line.split("//")[0]
        s = code.strip()
        if not s or s.startswith(("#", "*", "/*")) or "static_assert" in s or "template" in s:
            continue
        for old, new in FLIPS.items():
            for m in re.finditer(re.escape(old) if old[0] == " " else r"\b%s\b" % old, code):
                yield i, "flip %r" % old.strip(), line[:m.start()] + new + line[m.end():]
        for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
            n = int(m.group(1))
            yield i, "bound %d+1" % n, line[:m.start()] + str(n + 1) + line[m.end():]
            if n > 1:
                yield i, "bound %d-1" % n, line[:m.start()] + str(n - 1) + line[m.end():]
        m = re.search(r"\b(if|while) \((.*)\)( \{)?$", code.rstrip())
        if m:
            yield i, "negate %s" % m.group(1), line.replace("(%s)" % m.group(2), "(!(%s))" % m.group(2), 1)
        m = re.search(r"\(([\w.:>-]+), ([\w.:>-]+)\)", code)
        if m and m.group(1) != m.group(2):
            yield i, "swap arguments", line[:m.start()] + "(%s, %s)" % (m.group(2), m.group(1)) + line[m.end():]
        starts = i == 0 or lines[i - 1].split("//")[0].strip().endswith((";", "{", "}"))
        if starts and s.endswith(";") and not s.startswith(("return", "const ", "auto ", "using", "}", "case")) \
                and "(" in s and "=" not in s.split("(")[0]:
            yield i, "drop statement", None


def run(cmd):
    return subprocess.run(cmd, capture_output=True, text=True)  # ctest's own timeout ends a hang


def reached(tests, relinked):
    """The tests a build that relinked these files can fail: windowless ones, then end-to-end ones."""
    helpers = any(not p.startswith(("tests/", "bench/")) and p != "bin/tarvola" for p in relinked)
    chosen = [n for n, (exe, e2e) in tests.items()
              if helpers or exe in relinked or (e2e and "bin/tarvola" in relinked)]
    return [g for g in ([n for n in chosen if not tests[n][1]], [n for n in chosen if tests[n][1]]) if g]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("paths", nargs="*", default=FOLDERS)
    ap.add_argument("--build", default="build")
    ap.add_argument("--per-file", type=int, default=8)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--tests", default="^(?!release_|reuse_)", help="which tests may run (regex)")
    ap.add_argument("--redo", help="a sweep's output: run again only the mutants it lists as SURVIVED")
    ap.add_argument("--log", help="verdicts so far, taken and added to (default: <build>/mutation.log)")
    ap.add_argument("--count", action="store_true", help="only say how many mutants the sweep would make")
    a = ap.parse_args()
    log_path = a.log or os.path.join(a.build, "mutation.log")
    done = {}
    if not a.redo and os.path.exists(log_path):
        for l in open(log_path):
            if l.split(None, 1)[0] in ("CAUGHT", "SURVIVED", "BROKEN"):
                done[l.split(None, 1)[1]] = l.split(None, 1)[0]
    redo = a.redo and {l.split(None, 1)[1] for l in open(a.redo) if l.startswith("SURVIVED")}
    files = []
    for p in map(pathlib.Path, a.paths):
        files += sorted(p.rglob("*.cpp")) + sorted(p.rglob("*.h")) if p.is_dir() else [p]
    files = [f for f in files if "/gen/" not in str(f) and "_autogen" not in str(f)]
    build = os.path.abspath(a.build)
    listing = json.loads(run(["ctest", "--test-dir", a.build, "--show-only=json-v1"]).stdout)["tests"]
    tests = {t["name"]: (os.path.relpath(t["command"][0], build), t["name"].startswith("e2e_"))
             for t in listing if re.search(a.tests, t["name"])}
    rng, tally, total = random.Random(a.seed), {}, 0
    log = None if a.count or a.redo else open(log_path, "a")
    for f in files:
        text = f.read_text()
        lines = text.split("\n")
        chosen = list(mutants(lines))
        rng.shuffle(chosen)
        named = lambda m: "%s:%d %s: %s\n" % (f, m[0] + 1, m[1], lines[m[0]].strip())
        for i, what, new in [m for m in chosen if named(m) in redo] if redo else chosen[:a.per_file or None]:
            name = named((i, what))
            total += 1
            if a.count:
                continue
            if name in done:  # judged by an earlier run of this sweep
                if done[name] != "BROKEN":
                    tally.setdefault(f.parts[0], []).append(done[name] == "CAUGHT")
                continue
            try:
                f.write_text("\n".join(lines[:i] + ([new] if new is not None else []) + lines[i + 1:]))
                made = run(["cmake", "--build", a.build])
                relinked = set(re.findall(r"Linking \w+ (?:executable|shared module|shared library) (\S+)", made.stdout))
                groups = reached(tests, relinked)
                ctest = ["ctest", "--test-dir", a.build, "--stop-on-failure", "--timeout", "60", "-R"]
                failed = made.returncode == 0 and any(run(ctest + ["^(%s)$" % "|".join(g)]).returncode for g in groups)
                verdict = "BROKEN" if made.returncode else "CAUGHT" if failed else "SURVIVED"
            finally:
                f.write_text(text)
            if verdict != "BROKEN":
                tally.setdefault(f.parts[0], []).append(verdict == "CAUGHT")
            print("%-8s %s" % (verdict, name), end="", flush=True)
            if log:
                log.write("%-8s %s" % (verdict, name))
                log.flush()
    if a.count:
        print("%d mutants" % total)
        return 0
    run(["cmake", "--build", a.build])
    for folder, kills in sorted(tally.items()):
        print("%-10s %d of %d caught (%d%%)" % (folder, sum(kills), len(kills), 100 * sum(kills) // len(kills)))


if __name__ == "__main__":
    sys.exit(main())
