#!/usr/bin/env python3
"""The folders' layers: a source file includes only its own folder and the folders below it, and
a library depends only on libraries below it. Prints everything that breaks the order and exits 1
when there is any."""
import pathlib
import re
import sys

# Lower rank is lower in the stack; folders of equal rank do not include each other.
# The serial driver words its error box from the labels, so settings sits below it.
RANK = {"ui": 0, "sim": 1, "settings": 1, "serial": 2, "params": 3, "engine": 4, "form": 5,
        "app": 6, "cli": 7}
# The program's entry sits above everything: it hands the command line to cli/ or opens the window.
ENTRY = "app/main.cpp"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/([^"]+)"', re.M)

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
broken = []
for folder, rank in RANK.items():
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.relative_to(root).as_posix() == ENTRY:
            continue
        for target, rest in INCLUDE.findall(path.read_text(errors="replace")):
            if target == folder or target not in RANK:
                continue
            if RANK[target] < rank:
                continue
            broken.append(f"{path.relative_to(root)} includes {target}/{rest}")
# The libraries' declared dependencies follow the same order.
DEPENDS = re.compile(r"dtu_library\(dtu_(\w+)[^)]*?DEPS([^)]*)\)", re.S)
for folder in RANK:
    lists = root / folder / "CMakeLists.txt"
    if not lists.exists():
        continue
    for name, deps in DEPENDS.findall(lists.read_text()):
        for dep in re.findall(r"\bdtu_(\w+)", deps):
            if dep in RANK and RANK[dep] >= RANK[name]:
                broken.append(f"{folder}/CMakeLists.txt: dtu_{name} depends on dtu_{dep}")
for line in broken:
    print(line)
print(f"layers: {len(broken)} includes or dependencies against the order")
sys.exit(1 if broken else 0)
