#!/usr/bin/env python3
"""Fails when the source tree breaks the house rules of its layers.

Engine folders, lowest first: platform, settings, filters, capture, streams, core, mail,
discovery and export (side by side), app. Above them the user interface: the
log view (src/view), the subsystems' dialog folders (src/<name>/ui, side by
side) and the main frame (src/app/ui); src/main.cpp and the tools sit on top.
A file may include its own folder and any folder below it, never one above it
or beside it. Qt is included only by the user interface, and no source file
is longer than the limit.
"""
import pathlib
import re
import sys

ENGINE = ["platform", "settings", "filters", "capture", "streams", "core", "mail", ("discovery", "export"), "app"]
MAX_LINES = 600

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
QT_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/[^>"]*|q[a-z]+\.h)[>"]')


def engine_rank():
    ranks = {}
    for rank, level in enumerate(ENGINE):
        for name in level if isinstance(level, tuple) else (level,):
            ranks[name] = rank
    return ranks


RANKS = engine_rank()
VIEW_RANK = len(ENGINE)
SUBSYSTEM_UI_RANK = VIEW_RANK + 1
FRAME_RANK = VIEW_RANK + 2
TOP_RANK = VIEW_RANK + 3


def place(path):
    """(folder, rank) of a path below src/, or None for what is not layered."""
    parts = pathlib.PurePosixPath(path).parts
    if len(parts) == 1:
        return (parts[0], TOP_RANK) if parts[0] == "main.cpp" else None
    top = parts[0]
    if top == "view":
        return ("view", VIEW_RANK)
    if len(parts) >= 3 and parts[1] == "ui":
        folder = top + "/ui"
        return (folder, FRAME_RANK if top == "app" else SUBSYSTEM_UI_RANK)
    if top in RANKS:
        return (top, RANKS[top])
    return None


def is_ui(path):
    here = place(path)
    return here is not None and here[1] >= VIEW_RANK


def check(root):
    problems = []
    src = root / "src"
    for file in sorted(list(src.rglob("*.h")) + list(src.rglob("*.cpp"))):
        relative = file.relative_to(src).as_posix()
        lines = file.read_text(errors="replace").splitlines()
        if len(lines) > MAX_LINES:
            problems.append(f"src/{relative} has {len(lines)} lines (at most {MAX_LINES})")
        here = place(relative)
        for number, line in enumerate(lines, 1):
            if QT_INCLUDE.match(line) and not is_ui(relative):
                problems.append(f"src/{relative}:{number} includes Qt outside the UI layer: {line.strip()}")
            match = INCLUDE.match(line)
            if not match or here is None:
                continue
            target = place(match.group(1))
            if target is None or target[0] == here[0]:
                continue
            if target[1] > here[1]:
                problems.append(f"src/{relative}:{number} ({here[0]}) reaches up to {target[0]}: {line.strip()}")
            elif target[1] == here[1]:
                problems.append(f"src/{relative}:{number} ({here[0]}) reaches beside to {target[0]}: {line.strip()}")
    for file in sorted((root / "tools").rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if QT_INCLUDE.match(line) or (match and is_ui(match.group(1))):
                problems.append(f"{file.relative_to(root)}:{number} (a tool) includes UI code: {line.strip()}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = check(root)
    for problem in problems:
        print(f"layering: {problem}")
    if not problems:
        print("layering: ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
