#!/usr/bin/env python3
"""The crash matrix's runner (started by scripts/crash-matrix).

Each writer of lumctl runs on a fresh copy of its program directory with a
fault at its first, second, ... file operation (LUM_FAULT_AT: a kill, a
full disk, an I/O error), up to the last operation of a whole run. After
each faulted run the tree must open, and after opening it must be as it
was before or as a whole run leaves it. The outcome of every run is
counted in a markdown table; the runs that went wrong are listed below it.
"""

import argparse
import concurrent.futures
import hashlib
import itertools
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

FAULTS = ["kill", "enospc", "eio"]
KILLED_STATUS = 86  # FileOps::kStoppedExitCode
LOCK_FILE = "LumPost.lck"  # freed by the system with its holder; its bytes mean nothing
ROLLBACK = "Rollback"
NOW = "2026-07-31 10:00:00"  # lumctl's clock in every run (LUM_NOW)

# The input files of the writers and checks, written once beside the cases.
INPUTS = {
    "july.csv": "date,particulars,ref,gst,Amount,#1\n"
                "1/7/26,Takings,1,Y,110,110\n"
                "2/7/26,More takings,2,N,20,20\n",
    "more.csv": "date,particulars,ref,gst,Amount,#1\n"
                "3/7/26,Takings,3,Y,55,55\n"
                "4/7/26,Takings,4,Y,66,66\n"
                "5/7/26,Takings,5,N,7,7\n",
    # The change check: it takes the work area to change it (which puts
    # back a change cut short), then refuses the column and changes nothing.
    "no-such-column.csv": "date,no such column\n",
}

# The fixtures: lumctl commands run on a fresh demo program directory.
ENTITY = [["new-entity", "--name", "Demo Co"],
          ["journal", "import", "--journal", "1", "--period", "Jul", "@july.csv"]]
STORED = ENTITY + [["store"],
                   ["journal", "import", "--journal", "1", "--period", "Jul", "@more.csv"]]


@dataclass
class Writer:
    name: str
    fixture: list
    command: list


WRITERS = [
    Writer("new-entity-first", [], ["new-entity", "--name", "First Co"]),
    Writer("new-entity", ENTITY, ["new-entity", "--name", "Second Co", "--quarterly"]),
    Writer("journal-import", ENTITY,
           ["journal", "import", "--journal", "1", "--period", "Jul", "@more.csv"]),
    Writer("store", STORED, ["store"]),
    Writer("store-over", STORED, ["store", "--slot", "1"]),
    Writer("bring-back", STORED, ["bring-back", "--slot", "1"]),
    Writer("bring-back-clear", STORED, ["bring-back", "--slot", "1", "--clear"]),
    Writer("journal-delete-rows", ENTITY,
           ["journal", "delete-rows", "--journal", "1", "--period", "Jul", "--before", "2/7/26",
            "--yes"]),
    Writer("journal-counts", ENTITY,
           ["journal", "counts", "--journal", "1", "--period", "Jul", "--rows", "1"]),
    Writer("accounts-transfer", ENTITY, ["accounts", "transfer", "--journal", "2", "--from", "1"]),
    Writer("budget-recalculate", ENTITY, ["budget", "recalculate"]),
    Writer("clear-period", ENTITY, ["clear-period", "--period", "Jul", "--yes"]),
    Writer("close-year", ENTITY, ["close-year", "--yes"]),
    Writer("erase", ENTITY, ["erase", "--yes"]),
    Writer("undo", ENTITY + [["close-year", "--yes"]],
           ["undo", "close-year-2026-07-31-100000.zip", "--yes"]),
    Writer("backup-floppy", ENTITY, ["backup", "floppy", "--yes", "--clear-disk"]),
    Writer("restore-floppy", ENTITY + [["backup", "floppy", "--yes", "--clear-disk"]],
           ["restore", "floppy", "--yes"]),
    Writer("convert-single", ENTITY + [["new-entity", "--name", "Second Co"]],
           ["convert-single", "--yes"]),
    # The work area and the demo's ledgers client beside it, as one change.
    Writer("transfer", ENTITY, ["transfer", "--ledgers", "1", "--period", "Jul", "--yes"]),
]

# What opens the work area after a run: two readers (no lock, no
# recovery) and the change check.
READ_CHECKS = [["journal", "show", "--journal", "1", "--period", "Jul"], ["stored"],
               ["dump", "%AREA%/Ent.dat"], ["dump", "%AREA%/Entcoun.dat"]]
CHANGE_CHECK = ["journal", "import", "--journal", "1", "--period", "Jul", "@no-such-column.csv"]

# What the tree is after a faulted run and the opening that follows it.
TREE_OUTCOMES = ["old", "new", "torn", "missing", "mixed", "left-over"]


class Matrix:
    def __init__(self, lumctl, make_demo, scratch):
        self.lumctl = lumctl
        self.make_demo = make_demo
        self.scratch = scratch
        self.inputs = os.path.join(scratch, "inputs")
        os.makedirs(self.inputs)
        for name, text in INPUTS.items():
            with open(os.path.join(self.inputs, name), "w") as f:
                f.write(text)
        self.serial = itertools.count(1)  # next() of it is atomic: the cases run on threads

    def fresh_dir(self):
        return os.path.join(self.scratch, f"case{next(self.serial)}")

    def run(self, root, args, fault=None):
        """Runs lumctl on the program directory root/LumPost (operator 1,
        group 1); returns (status, stdout, stderr) with root's path as ROOT.
        An argument @NAME is the input NAME; %AREA% stands for the work area."""
        area = os.path.join(root, "LumPost", "Ent-1", "Op-1")
        args = [os.path.join(self.inputs, a[1:]) if a.startswith("@") else
                a.replace("%AREA%", area) for a in args]
        env = dict(os.environ)
        env.pop("LUM_FAULT_AT", None)
        env["LUM_NOW"] = NOW  # whole runs write the same bytes: snapshots are named by the time
        if fault:
            env["LUM_FAULT_AT"] = fault
        done = subprocess.run(
            [self.lumctl, "--root", os.path.join(root, "LumPost"), "--group", "1", *args],
            env=env, capture_output=True, text=True, errors="replace")
        return done.returncode, done.stdout.replace(root, "ROOT"), done.stderr.replace(root, "ROOT")

    def make_fixture(self, writer):
        root = os.path.join(self.scratch, "fixture-" + writer.name)
        subprocess.run([self.make_demo, root], check=True, capture_output=True,
                       env=dict(os.environ, LUM_DEMO_DATA="0"))
        for args in writer.fixture:
            status, _, err = self.run(root, args)
            if status != 0:
                sys.exit(f"crash-matrix: the fixture of {writer.name} failed: "
                         f"lumctl {' '.join(args)}\n{err}")
        return root

    def copy(self, fixture):
        root = self.fresh_dir()
        shutil.copytree(fixture, root, symlinks=True)
        return root

    def opens(self, root):
        """What the checks say of the tree: each reader's status and output,
        the change check's status and messages."""
        said = [self.run(root, args)[:2] for args in READ_CHECKS]
        status, _, err = self.run(root, CHANGE_CHECK)
        return said + [(status, err)]


def snapshot(root):
    """Every file, folder and link below root by its relative path, the lock file left out."""
    tree = {}
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        for name in dirs + files:
            path = os.path.join(folder, name)
            key = os.path.normpath(os.path.join(rel, name))
            if os.path.islink(path):
                tree[key] = "link " + os.readlink(path)
            elif name in dirs:
                tree[key + "/"] = "folder"
            elif name != LOCK_FILE:
                with open(path, "rb") as f:
                    tree[key] = hashlib.sha1(f.read()).hexdigest()
    return tree


def without_rollback_folders(tree):
    """The rollback folders themselves are the transactions' own; files
    left in them still count."""
    return {k: v for k, v in tree.items() if os.path.basename(k.rstrip("/")) != ROLLBACK}


def classify(found, before, after):
    """The outcome of a tree (see TREE_OUTCOMES) and the paths that make it."""
    found, before, after = (without_rollback_folders(t) for t in (found, before, after))
    if found == before:
        return "old", []
    if found == after:
        return "new", []
    torn, missing, left_over = [], [], []
    for path in sorted(set(found) | set(before) | set(after)):
        here = found.get(path)
        if here is None:
            if path in before and path in after:
                missing.append(path)
        elif path not in before and path not in after:
            left_over.append(path)
        elif here != before.get(path) and here != after.get(path):
            torn.append(path)
    for outcome, paths in (("torn", torn), ("missing", missing), ("left-over", left_over)):
        if paths:
            return outcome, paths
    mixed = [p for p in sorted(set(found) | set(before) | set(after))
             if found.get(p) != before.get(p)]
    return "mixed", mixed


@dataclass
class Case:
    writer: str
    fault: str
    operation: int
    struck: str = ""  # the operation the fault hit, as lumctl tells it
    status: int = 0
    outcome: str = ""
    paths: list = field(default_factory=list)
    recovered: bool = False  # neither old nor new until opened
    raw_paths: list = field(default_factory=list)  # what made it so
    wrong_status: bool = False  # said done (0) and not new
    fails_to_open: bool = False  # a check's exit status neither the old tree's nor the new's
    read_neither: bool = False  # a reader printed neither the old tree nor the new


@dataclass
class Baseline:
    fixture: str
    before: dict
    after: dict
    opens_before: list
    opens_after: list
    operations: int


def baseline(matrix, writer):
    fixture = matrix.make_fixture(writer)
    before = snapshot(fixture)
    opens_before = matrix.opens(matrix.copy(fixture))
    whole = matrix.copy(fixture)
    status, _, err = matrix.run(whole, writer.command, "kill:999999999")
    counted = re.search(r"not reached, (\d+) file operations", err)
    if not counted:
        sys.exit(f"crash-matrix: a whole run of {writer.name} told no count:\n{err}")
    after = snapshot(whole)
    again = matrix.copy(fixture)
    matrix.run(again, writer.command)
    if snapshot(again) != after:
        changed = [p for p in set(after) | set(snapshot(again))
                   if after.get(p) != snapshot(again).get(p)]
        sys.exit(f"crash-matrix: two whole runs of {writer.name} differ: {sorted(changed)}")
    print(f"crash-matrix: {writer.name}: lumctl {' '.join(writer.command)}: status {status}, "
          f"{counted.group(1)} file operations", file=sys.stderr)
    return Baseline(fixture, before, after, opens_before, matrix.opens(matrix.copy(whole)),
                    int(counted.group(1)))


def run_case(matrix, writer, base, fault, operation):
    case = Case(writer.name, fault, operation)
    root = matrix.copy(base.fixture)
    case.status, _, err = matrix.run(root, writer.command, f"{fault}:{operation}")
    struck = re.search(r"LUM_FAULT_AT: \w+ at file operation \d+: (.*)", err)
    case.struck = struck.group(1).replace(root, "") if struck else "(not reached)"
    raw = snapshot(root)
    if raw in (base.before, base.after):
        # As before or after byte for byte, rollback folder too: it opens as they do.
        case.outcome = "old" if raw == base.before else "new"
    else:
        said = matrix.opens(root)
        for check, (now, old, new) in enumerate(zip(said, base.opens_before, base.opens_after)):
            if now[0] not in (old[0], new[0]):
                case.fails_to_open = True
            # A reader that reads: as the old files or the new, never half and half.
            if check < len(READ_CHECKS) and now[0] == 0 and now not in (old, new):
                case.read_neither = True
        case.outcome, case.paths = classify(snapshot(root), base.before, base.after)
        raw_outcome, raw_paths = classify(raw, base.before, base.after)
        if case.outcome in ("old", "new") and raw_outcome not in ("old", "new"):
            case.recovered = True
            case.raw_paths = [f"{raw_outcome} {p}" for p in raw_paths]
    # A writer that changes no byte (as before is as after) is new when old.
    case.wrong_status = case.status == 0 and case.outcome != "new" and base.before != base.after
    shutil.rmtree(root)
    return case


def table(results, bases):
    flags = ["fails to open", "read neither old nor new", "put back at opening",
             "exit 0, not new"]
    lines = ["| writer | fault | runs | " + " | ".join(TREE_OUTCOMES + flags) + " |",
             "|---|---|---:|" + "---:|" * (len(TREE_OUTCOMES) + len(flags))]
    for name in bases:
        for fault in FAULTS:
            cases = [c for c in results if c.writer == name and c.fault == fault]
            if not cases:
                continue
            counts = [sum(c.outcome == o for c in cases) for o in TREE_OUTCOMES]
            counts += [sum(c.fails_to_open for c in cases), sum(c.read_neither for c in cases),
                       sum(c.recovered for c in cases), sum(c.wrong_status for c in cases)]
            lines.append(f"| {name} | {fault} | {len(cases)} | " +
                         " | ".join(str(n) for n in counts) + " |")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lumctl", required=True)
    parser.add_argument("--make-demo", required=True)
    parser.add_argument("--jobs", type=int, default=48)
    parser.add_argument("--faults", default=",".join(FAULTS))
    parser.add_argument("--details", type=int, default=5,
                        help="runs that went wrong listed per writer and fault")
    parser.add_argument("--verbose", action="store_true",
                        help="also list the runs whose tree the opening put back")
    parser.add_argument("writers", nargs="*", help="default: every writer")
    args = parser.parse_args()
    names = [w.name for w in WRITERS]
    unknown = [w for w in args.writers if w not in names]
    faults = args.faults.split(",")
    if unknown or any(f not in FAULTS for f in faults):
        sys.exit(f"crash-matrix: the writers are {' '.join(names)}; the faults {','.join(FAULTS)}")
    writers = [w for w in WRITERS if not args.writers or w.name in args.writers]

    shm = "/dev/shm" if os.path.isdir("/dev/shm") else None
    scratch = tempfile.mkdtemp(prefix="crash-matrix.", dir=shm)
    started = time.monotonic()
    try:
        matrix = Matrix(os.path.abspath(args.lumctl), os.path.abspath(args.make_demo), scratch)
        bases = {w.name: baseline(matrix, w) for w in writers}
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            futures = [pool.submit(run_case, matrix, w, bases[w.name], fault, n)
                       for w in writers for fault in faults
                       for n in range(1, bases[w.name].operations + 1)]
            results = [f.result() for f in futures]
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    print(table(results, bases))
    wrong = [c for c in results if c.outcome not in ("old", "new") or c.wrong_status
             or c.fails_to_open or c.read_neither]
    if args.verbose:
        for c in results:
            if c.recovered:
                print(f"- {c.writer} {c.fault} at {c.operation} ({c.struck}), exit {c.status}: "
                      f"put back at open: {', '.join(c.raw_paths)}")
    print(f"\n{len(results)} faulted runs in {time.monotonic() - started:.0f} s; "
          f"{len(wrong)} went wrong.")
    for name in bases:
        for fault in faults:
            listed = [c for c in wrong if c.writer == name and c.fault == fault]
            for c in listed[:args.details]:
                paths = ", ".join(c.paths[:4]) + (" ..." if len(c.paths) > 4 else "")
                print(f"- {c.writer} {c.fault} at {c.operation} ({c.struck}), exit {c.status}: "
                      f"{c.outcome}{' [exit 0]' if c.wrong_status else ''}"
                      f"{' [fails to open]' if c.fails_to_open else ''}"
                      f"{' [read neither]' if c.read_neither else ''} {paths}")
            if len(listed) > args.details:
                print(f"- {name} {fault}: {len(listed) - args.details} more")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
