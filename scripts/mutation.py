#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
"""Mutation sweep: makes one small fault at a time in the product code, builds, runs the tests and
tells whether they caught it. Not part of `make test` (it takes hours); run it by hand:

    scripts/mutation.py [--build build] [--per-file 8] [--seed 1] [--tests REGEX] [file or folder...]

Only the tests a mutant can reach run: those whose program was relinked, the end-to-end tests when the
program was, all of them when a helper program or module was. Tests without a window come first.
Prints each mutant as CAUGHT, SURVIVED or BROKEN (did not build) and a kill rate per folder."""
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


def run(cmd, timeout=1800):
    try:
        return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess(cmd, -1, "", "")


def reached(tests, relinked):
    """The tests a build that relinked these files can fail: windowless ones, then end-to-end ones."""
    helpers = any(p.startswith("bin/") and p != "bin/tarvola" for p in relinked)
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
    a = ap.parse_args()
    files = []
    for p in map(pathlib.Path, a.paths):
        files += sorted(p.rglob("*.cpp")) + sorted(p.rglob("*.h")) if p.is_dir() else [p]
    files = [f for f in files if "/gen/" not in str(f) and "_autogen" not in str(f)]
    build = os.path.abspath(a.build)
    listing = json.loads(run(["ctest", "--test-dir", a.build, "--show-only=json-v1"]).stdout)["tests"]
    tests = {t["name"]: (os.path.relpath(t["command"][0], build), t["name"].startswith("e2e_"))
             for t in listing if re.search(a.tests, t["name"])}
    rng, tally = random.Random(a.seed), {}
    for f in files:
        text = f.read_text()
        lines = text.split("\n")
        chosen = list(mutants(lines))
        rng.shuffle(chosen)
        for i, what, new in chosen[:a.per_file]:
            try:
                f.write_text("\n".join(lines[:i] + ([new] if new is not None else []) + lines[i + 1:]))
                made = run(["cmake", "--build", a.build])
                relinked = set(re.findall(r"Linking \w+ (?:executable|shared module|shared library) (\S+)", made.stdout))
                groups = reached(tests, relinked)
                if made.returncode != 0:
                    verdict = "BROKEN"
                else:  # no test reaching the code at all is a survivor too
                    ctest = ["ctest", "--test-dir", a.build, "--stop-on-failure", "--timeout", "60", "-R"]
                    failed = any(run(ctest + ["^(%s)$" % "|".join(g)]).returncode != 0 for g in groups)
                    verdict = "CAUGHT" if failed else "SURVIVED"
            finally:
                f.write_text(text)
            caught, total = tally.get(f.parts[0], (0, 0))
            if verdict != "BROKEN":
                tally[f.parts[0]] = (caught + (verdict == "CAUGHT"), total + 1)
            print("%-8s %s:%d %s: %s" % (verdict, f, i + 1, what, lines[i].strip()), flush=True)
    run(["cmake", "--build", a.build])
    for folder, (caught, total) in sorted(tally.items()):
        print("%-10s %d of %d caught (%d%%)" % (folder, caught, total, 100 * caught // max(total, 1)))


if __name__ == "__main__":
    sys.exit(main())
