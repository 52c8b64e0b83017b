#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
"""Mutation sweep, by hand and outside `make test` (hours): one small fault at a time in the product
code, built, and the tests it can reach run (those relinked; end-to-end ones after the program's
relink; all after a helper's). Prints a verdict per mutant and a kill rate per folder:
  CAUGHT    a test failed, and failed again when run once more (a test that fails once is
            taken for a fluke of a busy machine, not a catch)
  SURVIVED  every test it can reach passed
  SAME      the compiler made the same objects as from the unchanged source: no test can tell
  BROKEN    it does not compile
A mutant whose objects are those of an earlier one takes that one's verdict without running.
Each verdict is also added to a log in the build folder, with the test that caught it; a sweep
started again with the same log takes the verdicts it holds and goes on where the last one
stopped. `--keep <log>` adds a log to the verdicts kept with the source
(mutation-verdicts.log), which every sweep takes too, so that one on a fresh clone goes on
where the last machine stopped. Tests that caught mutants of a file are run first for its next ones.
Use a build folder of its own, compiled file by file and without debug data, so that objects
can be compared (see the README), in a worktree of its own: it writes each mutant into the source.
    scripts/mutation.py [--build build] [--per-file 8 | --per-file 0 for every mutant] [--seed 1]
                        [--tests REGEX] [--log FILE] [--count] [file or folder...]
    scripts/mutation.py --keep LOG... | --report [LOG...]"""
import argparse, collections, hashlib, json, os, pathlib, random, re, signal, subprocess, sys

FOLDERS = "core platform pictures controls assets signs doors signboard settings panels app".split()
FLIPS = {" < ": " >= ", " > ": " <= ", " <= ": " > ", " >= ": " < ", " == ": " != ", " != ": " == ",
         " && ": " || ", " || ": " && ", "true": "false", "false": "true"}
VERDICTS = ("CAUGHT", "SURVIVED", "SAME", "BROKEN")


def mutants(lines):
    """(line index, description, new line) for every place a rule applies."""
    for i, line in enumerate(lines):
        code = line.split("//")[0]
        s = code.strip()
        if not s or s.startswith(("#", "*", "/*")) or "static_assert" in s or "template" in s:
            continue
        for old, new in FLIPS.items():
            for m in re.finditer(re.escape(old) if old[0] == " " else r"\b%s\b" % old, code):
                yield i, "flip %r at %d" % (old.strip(), m.start()), line[:m.start()] + new + line[m.end():]
        for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
            n = int(m.group(1))
            yield i, "bound %d+1 at %d" % (n, m.start()), line[:m.start()] + str(n + 1) + line[m.end():]
            if n > 1:
                yield i, "bound %d-1 at %d" % (n, m.start()), line[:m.start()] + str(n - 1) + line[m.end():]
        m = re.search(r"\b(if|while) \((.*)\)( \{)?$", code.rstrip())
        if m:
            yield i, "negate %s" % m.group(1), line.replace("(%s)" % m.group(2), "(!(%s))" % m.group(2), 1)
        m = re.search(r"\(([\w.:>-]+), ([\w.:>-]+)\)", code)
        if m and m.group(1) != m.group(2):
            yield i, "swap arguments", line[:m.start()] + "(%s, %s)" % (m.group(2), m.group(1)) + line[m.end():]
        starts = i == 0 or lines[i - 1].split("//")[0].strip().endswith((";", "{", "}"))
        if starts and s.endswith(";") and not s.startswith(("return", "const ", "auto ", "using", "}", "case")) \
                and "(" in s and "=" not in s.split("(")[0]:
            yield i, "drop statement", ""  # a blank line: the lines after it keep their numbers


def mutant_name(path, lines, m):
    return "%s:%d %s: %s" % (path, m[0] + 1, m[1], lines[m[0]].strip())


def read_verdicts(path):
    """(verdict, mutant, the test that caught it or "") for each verdict in a sweep's log or output."""
    for l in open(path):
        verdict, _, rest = l.rstrip("\n").partition(" ")
        if verdict in VERDICTS:
            name, _, by = rest.strip().partition("\t")
            yield verdict, name, by[3:] if by.startswith("by ") else ""


def failed_tests(ctest_output):
    return re.findall(r"^\s*\d+ - (\S+) \(", ctest_output, re.M)


RUNNING = []  # the command running now, in a process group of its own


def run(cmd):
    """The command's result; ctest's own timeout ends a hang. A stopped sweep ends the command
    and all it started (an end-to-end test's program and X server), so that nothing goes on
    with a mutated build."""
    with subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          start_new_session=True) as child:
        RUNNING[:] = [child]
        out, err = child.communicate()
        RUNNING.clear()
    # What a test left behind goes too: a test that ctest ended for its time ends without its
    # clean-up, and a program a mutant makes spin would take a core from every later mutant.
    try:
        os.killpg(child.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    return subprocess.CompletedProcess(cmd, child.returncode, out, err)


def stop(*_):
    for child in RUNNING:
        try:
            os.killpg(child.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    sys.exit("mutation: stopped")  # the source is put back first


class Build:
    """The build folder: its objects' fingerprints, and what a build relinks."""

    def __init__(self, path):
        self.path = path
        run(["ninja", "-C", path, "build.ninja"])  # configured again first if a CMakeLists.txt changed
        listing = run(["ninja", "-C", path, "-t", "targets", "all"]).stdout
        every = [l.split(":")[0] for l in listing.splitlines()]
        # The benchmarks and fuzz targets run no test: they are neither compiled nor linked.
        self.objects = [t for t in every if t.endswith(".o") and not t.startswith(("bench/", "fuzz/"))]
        self.products = [t for t in every if re.fullmatch(r"[\w-]+/all", t) and t.split("/")[0] not in ("bench", "fuzz")]

    LINKING = re.compile(r"Linking \w+ (?:executable|shared module|shared library) (\S+)")

    def compile(self):
        made = run(["ninja", "-C", self.path] + self.objects)
        # An object that waits for a program (add_dependencies) has it linked here already.
        self.linked_early = set(self.LINKING.findall(made.stdout))
        return made.returncode == 0

    def fingerprints(self):
        def digest(obj):
            with open(os.path.join(self.path, obj), "rb") as f:
                return hashlib.sha1(f.read()).hexdigest()
        return {o: digest(o) for o in self.objects if os.path.exists(os.path.join(self.path, o))}

    def link(self):
        made = run(["ninja", "-C", self.path] + self.products)
        return made.returncode == 0, self.linked_early | set(self.LINKING.findall(made.stdout))


def reached(tests, relinked):
    """The tests a build that relinked these files can fail: windowless ones, then end-to-end ones."""
    helpers = any(not p.startswith(("tests/", "bench/")) and p != "bin/tarvola" for p in relinked)
    chosen = [n for n, (programs, e2e) in tests.items()
              if helpers or programs & relinked or (e2e and "bin/tarvola" in relinked)]
    return [n for n in chosen if not tests[n][1]], [n for n in chosen if tests[n][1]]


def first_catch(build, groups):
    """The first test that fails twice, running the groups in order; None if none does."""
    for group in groups:
        if not group:
            continue
        out = run(["ctest", "--test-dir", build, "-j", "2", "--stop-on-failure", "--timeout", "60",
                   "-R", "^(%s)$" % "|".join(group)])
        if out.returncode == 0:
            continue
        failed = failed_tests(out.stdout) or group
        again = run(["ctest", "--test-dir", build, "--timeout", "60", "-R", "^(%s)$" % "|".join(failed)])
        if again.returncode:
            return (failed_tests(again.stdout) or failed)[0]
        print("FLUKE    %s failed once and then passed" % " ".join(failed), flush=True)
    return None


EQUIVALENTS = pathlib.Path(__file__).with_name("mutation-equivalents.txt")
# The verdicts of every sweep so far, kept with the source: a build folder does not outlive its
# machine, and a full sweep outlives many. `--keep` adds a sweep's log to them.
KEPT = pathlib.Path(__file__).with_name("mutation-verdicts.log")
KEPT_HEADER = """# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Every mutant judged so far and its verdict, as mutation.py logs them (written by --keep).
"""


def latest_verdicts(logs):
    """{mutant: (verdict, the test that caught it)} from the kept verdicts and these logs, the
    last one given counting; and how many were left out, their mutant no longer in the source."""
    verdicts = {}
    for log in [KEPT] + list(logs):
        if os.path.exists(log):
            verdicts.update((name, (verdict, by)) for verdict, name, by in read_verdicts(log))
    root, current = KEPT.parent.parent, set()
    for path in {name.split(":")[0] for name in verdicts}:
        f = root / path
        lines = f.read_text().split("\n") if f.exists() else []
        current.update(mutant_name(path, lines, m) for m in mutants(lines))
    return {n: v for n, v in verdicts.items() if n in current}, len(set(verdicts) - current)


def keep(logs):
    verdicts, gone = latest_verdicts(logs)
    with open(KEPT, "w") as f:
        f.write(KEPT_HEADER)
        for name, (verdict, by) in sorted(verdicts.items()):
            f.write("%-8s %s%s\n" % (verdict, name, "\tby " + by if by else ""))
    print("%d verdicts kept in %s; %d left out, their mutants no longer in the source" % (len(verdicts), KEPT, gone))
    return 0


def report(logs):
    """Kill rates per folder from the kept verdicts and these sweep logs; survivors judged
    equivalent (mutation-equivalents.txt, a mutant and the reason a line) are counted apart, and
    the others are listed. Verdicts on mutants the source no longer has (its code changed
    since) are left out and counted."""
    judged = {l.split("\t")[0] for l in EQUIVALENTS.read_text().splitlines() if l and not l.startswith("#")}
    latest, gone = latest_verdicts(logs)
    verdicts = {name: verdict for name, (verdict, _) in latest.items()}
    tally, open_survivors = collections.defaultdict(collections.Counter), []
    for name, verdict in verdicts.items():
        if verdict == "SURVIVED" and name in judged:
            verdict = "EQUIVALENT"
        elif verdict == "SURVIVED":
            open_survivors.append(name)
        tally[name.split("/")[0]][verdict] += 1
    print("%-10s %7s %7s %7s %9s %7s %7s %10s" % ("folder", "mutants", "caught", "survived", "equivalent", "same", "broken", "kill rate"))
    for folder, c in sorted(tally.items()):
        alive = c["CAUGHT"] + c["SURVIVED"]
        print("%-10s %7d %7d %7d %9d %7d %7d %9.0f%%" % (folder, sum(c.values()), c["CAUGHT"], c["SURVIVED"],
              c["EQUIVALENT"], c["SAME"], c["BROKEN"], 100 * c["CAUGHT"] / max(alive, 1)))
    for name in sorted(open_survivors):
        print("SURVIVED " + name)
    if gone:
        print("%d verdicts left out: their mutants are no longer in the source" % gone)
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("paths", nargs="*", default=FOLDERS)
    ap.add_argument("--build", default="build")
    ap.add_argument("--per-file", type=int, default=8)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--tests", default="^(?!release_|reuse_|format_)", help="which tests may run (regex)")
    ap.add_argument("--redo", help="a sweep's output: run again only the mutants it lists as SURVIVED")
    ap.add_argument("--log", help="verdicts so far, taken and added to (default: <build>/mutation.log)")
    ap.add_argument("--count", action="store_true", help="only say how many mutants the sweep would make")
    ap.add_argument("--report", nargs="*", metavar="LOG", help="only tell the kill rates the kept verdicts and these logs hold")
    ap.add_argument("--keep", nargs="+", metavar="LOG", help="only add these logs to the kept verdicts")
    a = ap.parse_args()
    if a.report is not None:
        return report(a.report)
    if a.keep:
        return keep(a.keep)
    signal.signal(signal.SIGTERM, stop)
    log_path = a.log or os.path.join(a.build, "mutation.log")
    done, killers = {}, collections.defaultdict(collections.Counter)
    for known in [KEPT, log_path] if not a.redo else []:
        for verdict, name, by in read_verdicts(known) if os.path.exists(known) else []:
            done[name] = verdict
            if by:
                killers[name.split(":")[0]][by] += 1
    redo = a.redo and {name for verdict, name, _ in read_verdicts(a.redo) if verdict == "SURVIVED"}
    files = []
    for p in map(pathlib.Path, a.paths):
        files += sorted(p.rglob("*.cpp")) + sorted(p.rglob("*.h")) if p.is_dir() else [p]
    files = [f for f in files if "/gen/" not in str(f) and "_autogen" not in str(f)]
    tally, total = collections.defaultdict(collections.Counter), 0
    chosen_per_file = []
    for f in files:
        lines = f.read_text().split("\n")
        chosen = list(mutants(lines))
        # Seeded by the file, so that a file's sample is the same whichever files a sweep is given.
        random.Random("%d:%s" % (a.seed, f)).shuffle(chosen)
        named = lambda m, f=f, lines=lines: mutant_name(f, lines, m)
        picked = [m for m in chosen if named(m) in redo] if redo else chosen[:a.per_file or None]
        chosen_per_file.append((f, lines, [(named(m), m) for m in picked]))
        total += len(picked)
    if a.count:
        print("%d mutants" % total)
        return 0
    build = Build(a.build)
    costs = os.path.join(a.build, "Testing", "Temporary", "CTestCostData.txt")  # ctest's own timings
    cost = {w[0]: float(w[2]) for w in (l.split() for l in open(costs)) if len(w) == 3} if os.path.exists(costs) else {}
    if not build.compile() or not build.link()[0]:
        sys.exit("mutation: the unchanged source does not build in %s" % a.build)
    original = build.fingerprints()
    listing = json.loads(run(["ctest", "--test-dir", a.build, "--show-only=json-v1"]).stdout)["tests"]
    # A test's programs: its command and what the command is given (a wrapper such as with-x.sh
    # is given the test program), as paths in the build folder.
    inside = lambda c: os.path.relpath(c, os.path.abspath(a.build))
    tests = {t["name"]: ({inside(c) for c in t.get("command", []) if c.startswith("/")}, t["name"].startswith("e2e_"))
             for t in listing if re.search(a.tests, t["name"])}
    seen = {}  # the changed objects' fingerprints -> the verdict they had
    log = open(log_path, "a")  # a verdict given again by --redo is the one that counts: the last
    for f, lines, picked in chosen_per_file:
        text = "\n".join(lines)
        for name, (i, _, new) in picked:
            if name in done:  # judged by an earlier run of this sweep
                tally[f.parts[0]][done[name]] += 1
                continue
            by = ""
            try:
                f.write_text("\n".join(lines[:i] + [new] + lines[i + 1:]))
                if not build.compile():
                    verdict = "BROKEN"
                else:
                    now = build.fingerprints()
                    changed = frozenset((o, h) for o, h in now.items() if original.get(o) != h)
                    if not changed:
                        verdict = "SAME"
                    elif changed in seen:
                        verdict, by = seen[changed]
                        by = by or "\tas an earlier mutant with the same objects"
                    else:
                        linked, relinked = build.link()
                        windowless, e2e = reached(tests, relinked)
                        order = killers[str(f)]
                        windowless.sort(key=lambda n: -order[n])
                        first = windowless[:1] if windowless and order[windowless[0]] else []
                        rest = windowless[len(first):]
                        quick = [n for n in rest if cost.get(n, 0) < 1]  # a catch there costs seconds
                        slow = [n for n in rest if n not in quick]
                        catch = linked and first_catch(a.build, [first, quick, slow, e2e])
                        verdict = "BROKEN" if not linked else "CAUGHT" if catch else "SURVIVED"
                        if catch:
                            by = "\tby " + catch
                            order[catch] += 1
                        seen[changed] = (verdict, by)
            finally:
                f.write_text(text)
            tally[f.parts[0]][verdict] += 1
            print("%-8s %s%s" % (verdict, name, by), flush=True)
            if log:
                log.write("%-8s %s%s\n" % (verdict, name, by))
                log.flush()
    build.compile()
    build.link()
    for folder, counts in sorted(tally.items()):
        judged = counts["CAUGHT"] + counts["SURVIVED"]
        print("%-10s %d of %d caught (%d%%); %d the same objects, %d not compiled" % (
            folder, counts["CAUGHT"], judged, 100 * counts["CAUGHT"] // max(judged, 1), counts["SAME"], counts["BROKEN"]))


if __name__ == "__main__":
    sys.exit(main())
