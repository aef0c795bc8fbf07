"""Mutation sample of src/: seeds one small fault at a time, rebuilds, runs the tests
that cover the file, and reports which faults the tests caught.

Run through scripts/mutate, which provides the Wine harness. Standard library only.
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]

# Each operator: a pattern over a line whose string literals and comments are blanked,
# and what a match becomes. clang-format puts blanks around every binary operator, so
# " < " is a comparison, never a template bracket, and " * " a product, never a pointer.
OPERATORS = [
    ("comparison", re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )"),
     {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}),
    ("logical", re.compile(r"(?<= )(&&|\|\|)(?= )"), {"&&": "||", "||": "&&"}),
    ("arithmetic", re.compile(r"(?<= )(\+|-|\*|/|\+=|-=)(?= )"),
     {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+="}),
    ("constant", re.compile(r"(?<![\w.'])(\d+)(?![\w.'])"), None),
    ("boolean", re.compile(r"\b(true|false)\b"), {"true": "false", "false": "true"}),
    ("negation", re.compile(r"!(?!=)"), {"!": ""}),
]


def blank_literals_and_comments(line, in_block):
    """The line with string and character literals, and comments, replaced by blanks of
    the same length, so that columns still match. Returns (text, still_in_block)."""
    out = []
    i = 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                out.append(" " * (len(line) - i))
                return "".join(out), True
            out.append(" " * (end + 2 - i))
            i = end + 2
            in_block = False
            continue
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        if line.startswith("/*", i):
            in_block = True
            continue
        if c in "\"'":
            j = i + 1
            while j < len(line) and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            out.append(c + " " * (min(j, len(line)) - i - 1) + (c if j < len(line) else ""))
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out), in_block


def sites(path):
    """Every mutation site of a file, in order: (line number, column, operator, old, new).
    The design tables' numbers are layout units of 1/1440 inch: one more is a fifteenth of
    a pixel and shows at no density, so their constants are not bumped."""
    data_table = path.name.endswith("_design.h")
    found = []
    in_block = False
    for number, line in enumerate(path.read_text().splitlines(), 1):
        code, in_block = blank_literals_and_comments(line, in_block)
        stripped = code.strip()
        if stripped.startswith("#include") or stripped.startswith("#pragma"):
            continue
        for name, pattern, table in OPERATORS:
            if data_table and name == "constant":
                continue
            for m in pattern.finditer(code):
                old = m.group(1) if m.groups() else m.group(0)
                new = str(int(old) + 1) if table is None else table[old]
                found.append((number, m.start(), name, old, new))
    return found


def is_core(rel):
    return "/win32/" not in rel


def candidates():
    files = sorted(p for p in (ROOT / "src").rglob("*") if p.suffix in (".cpp", ".h"))
    core, shell = [], []
    for path in files:
        rel = path.relative_to(ROOT).as_posix()
        for site in sites(path):
            (core if is_core(rel) else shell).append((rel,) + site)
    return core, shell


def sync_tree(tree):
    """Copies the checkout's files (tracked and new, build trees aside) into the scratch
    tree, rewriting only files whose bytes differ so that builds stay incremental."""
    listed = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=ROOT, check=True, capture_output=True).stdout.decode().split("\0")
    wanted = {name for name in listed if name and (ROOT / name).is_file()}
    for name in sorted(wanted):
        source, target = ROOT / name, tree / name
        data = source.read_bytes()
        if not target.exists() or target.read_bytes() != data:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
            shutil.copymode(source, target)
    for layer in ("src", "tests", "fuzz", "cmake"):
        for path in (tree / layer).rglob("*"):
            if path.is_file() and path.relative_to(tree).as_posix() not in wanted:
                path.unlink()


def run(command, cwd, timeout, log):
    """Runs a command; 'ok', 'failed' or 'timeout'."""
    try:
        done = subprocess.run(command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return "timeout"
    return "ok" if done.returncode == 0 else "failed"


# The layers: the native build runs the core's unit tests; the Windows build runs every
# Windows test under Wine (the core's again, the Win32 tests, the black-box tests).
LAYERS = {
    "native": (["cmake", "--build", "--preset", "native"],
               ["ctest", "--preset", "native", "--stop-on-failure", "-j2", "--timeout", "60"]),
    "windows": (["cmake", "--build", "--preset", "windows"],
                ["ctest", "--preset", "windows", "--stop-on-failure", "--timeout", "300"]),
}


def build(tree, layer, log):
    return run(LAYERS[layer][0], tree, 900, log)


def killed_by(tree, layer, log):
    return run(LAYERS[layer][1], tree, 900, log) != "ok"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--core", type=int, default=100, help="mutants drawn from the cores")
    parser.add_argument("--shell", type=int, default=40, help="mutants drawn from the shell")
    parser.add_argument("--only", help="comma-separated mutant numbers to run (default: all)")
    parser.add_argument("--list", action="store_true", help="list the sample, run nothing")
    parser.add_argument("--tree", default=str(ROOT / "build" / "mutate"),
                        help="scratch copy of the checkout to mutate and build")
    args = parser.parse_args()

    core, shell = candidates()
    rng = random.Random(args.seed)
    sample = [("core", m) for m in rng.sample(core, min(args.core, len(core)))]
    sample += [("shell", m) for m in rng.sample(shell, min(args.shell, len(shell)))]
    print(f"seed {args.seed}: {len(sample)} mutants from {len(core)} core and "
          f"{len(shell)} shell sites", flush=True)
    only = {int(n) for n in args.only.split(",")} if args.only else None

    def describe(n, kind, m):
        rel, line, col, op, old, new = m
        return f"#{n:<3} {kind:<5} {rel}:{line}:{col + 1} {op} '{old}' -> '{new}'"

    if args.list:
        for n, (kind, m) in enumerate(sample, 1):
            print(describe(n, kind, m))
        return 0

    tree = Path(args.tree)
    tree.mkdir(parents=True, exist_ok=True)
    sync_tree(tree)
    logs = tree / "logs"
    logs.mkdir(exist_ok=True)
    layers = ["native"] + (["windows"] if any(k == "shell" for k, _ in sample) else [])
    for layer in layers:
        with open(logs / f"configure-{layer}.log", "w") as log:
            configured = run(["cmake", "--preset", layer], tree, 600, log)
            if configured != "ok" or build(tree, layer, log) != "ok" or killed_by(tree, layer, log):
                print(f"the unmutated tree does not pass the {layer} layer: see {log.name}")
                return 2

    results = {"core": [0, 0, 0], "shell": [0, 0, 0]}  # killed, valid, not compiling
    survivors = []
    for n, (kind, m) in enumerate(sample, 1):
        if only and n not in only:
            continue
        rel, line, col, op, old, new = m
        path = tree / rel
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        text = lines[line - 1]
        lines[line - 1] = text[:col] + new + text[col + len(old):]
        started = time.monotonic()
        path.write_text("".join(lines))
        try:
            outcome = "survived"
            own = ["native"] if kind == "core" else ["windows"]
            # A core file the native tests leave alone may still be covered under Wine.
            rest = ["windows"] if kind == "core" and "windows" in layers else []
            with open(logs / f"mutant-{n}.log", "w") as log:
                for layer in own + rest:
                    if build(tree, layer, log) != "ok":
                        outcome = "not compiling" if layer == own[0] else outcome
                        break
                    if killed_by(tree, layer, log):
                        outcome = "killed"
                        break
        finally:
            path.write_text(original)
        tally = results[kind]
        if outcome == "not compiling":
            tally[2] += 1
        else:
            tally[1] += 1
            if outcome == "killed":
                tally[0] += 1
            else:
                survivors.append(describe(n, kind, m))
        print(f"{outcome:<13} {describe(n, kind, m)}  ({time.monotonic() - started:.0f} s)",
              flush=True)
    # Leave the scratch tree built from unmutated sources.
    for layer in layers:
        with open(logs / f"restore-{layer}.log", "w") as log:
            build(tree, layer, log)

    print()
    for kind, (killed, valid, broken) in results.items():
        print(f"{kind}: {killed} killed of {valid} valid mutants ({broken} not compiling)")
    print(f"survivors: {len(survivors)}")
    for line in survivors:
        print("  " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
