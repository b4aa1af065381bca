#!/usr/bin/env python3
"""Keeps the engine's floors: vocabulary < platform < features, and the system's code in platform/.

Fails (status 1, naming each file and line) when a file of src/KelvoCore
  - includes anything but an engine folder (the application in src/Kelvo sits above the engine),
  - includes a folder on a higher floor (vocabulary: nothing but vocabulary; platform: vocabulary),
  - takes part in a circle of includes between feature folders,
  - tests the operating system (Q_OS_*, __APPLE__, __linux__) outside platform/, except the status
    sampler's one composition point, which picks the macOS or the Linux sampler with one test.
With --summary it prints the include arrows between the engine's folders.
"""

import re
import sys
from collections import Counter
from pathlib import Path

FLOORS = {"vocabulary": 0, "platform": 1}
FEATURES = ("analysis", "clean", "installer", "optimize", "purge", "status", "uninstall", "update")
FLOORS.update({feature: 2 for feature in FEATURES})
# The one file outside platform/ that may test the system, and how many tests it may hold.
SYSTEM_TESTS_ALLOWED = {"status/LocalSystemStatusLive.cpp": 1}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SYSTEM_TEST = re.compile(r"\b(Q_OS_\w+|__APPLE__|__linux__|__linux|__MACH__)\b")
SOURCE_SUFFIXES = {".h", ".cpp", ".mm"}


def code_lines(path):
    """Each line with its number, comments left out (a system named in a comment is no test)."""
    in_block = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        code = ""
        rest = line
        while rest:
            if in_block:
                end = rest.find("*/")
                if end < 0:
                    rest = ""
                else:
                    in_block, rest = False, rest[end + 2:]
                continue
            block, comment = rest.find("/*"), rest.find("//")
            if comment >= 0 and (block < 0 or comment < block):
                code += rest[:comment]
                rest = ""
            elif block >= 0:
                code += rest[:block]
                in_block, rest = True, rest[block + 2:]
            else:
                code += rest
                rest = ""
        yield number, line, code


def find_circle(arrows):
    """A circle among the folders' arrows as a list of folders, or None."""
    state = {}

    def visit(folder, trail):
        state[folder] = "open"
        for target in sorted(arrows.get(folder, ())):
            if state.get(target) == "open":
                return trail[trail.index(target):] + [target]
            if target not in state:
                found = visit(target, trail + [target])
                if found:
                    return found
        state[folder] = "done"
        return None

    for folder in sorted(arrows):
        if folder not in state:
            found = visit(folder, [folder])
            if found:
                return found
    return None


def check(engine):
    problems = []
    arrows = Counter()
    for path in sorted(engine.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(engine).as_posix()
        folder = relative.split("/")[0]
        if folder not in FLOORS:
            problems.append(f"{relative}: a file outside the engine's folders")
            continue
        system_tests = 0
        for number, line, code in code_lines(path):
            where = f"src/KelvoCore/{relative}:{number}"
            included = INCLUDE.match(line)
            if included:
                target = included.group(1).split("/")[0] if "/" in included.group(1) else None
                if target not in FLOORS:
                    problems.append(f'{where}: includes "{included.group(1)}", which is not engine code')
                    continue
                if target != folder:
                    arrows[(folder, target)] += 1
                    if FLOORS[target] > FLOORS[folder]:
                        problems.append(f'{where}: {folder}/ includes "{included.group(1)}" from a higher floor')
            if SYSTEM_TEST.search(code) and folder != "platform":
                system_tests += 1
                if system_tests > SYSTEM_TESTS_ALLOWED.get(relative, 0):
                    problems.append(f"{where}: tests the system outside platform/: {line.strip()}")
    between_features = {}
    for (source, target) in arrows:
        if FLOORS[source] == 2 and FLOORS[target] == 2:
            between_features.setdefault(source, set()).add(target)
    circle = find_circle(between_features)
    if circle:
        problems.append("a circle of includes between feature folders: " + " -> ".join(circle))
    return problems, arrows


def main():
    root = Path(__file__).resolve().parent.parent
    problems, arrows = check(root / "src" / "KelvoCore")
    if "--summary" in sys.argv[1:]:
        for (source, target), count in sorted(arrows.items(), key=lambda a: (FLOORS[a[0][0]], a[0])):
            print(f"{source:>10} -> {target:<10} {count:3} includes")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check-layers: {len(problems)} problems", file=sys.stderr)
        return 1
    print("check-layers: vocabulary < platform < features holds; the system is tested only in platform/")
    return 0


if __name__ == "__main__":
    sys.exit(main())
