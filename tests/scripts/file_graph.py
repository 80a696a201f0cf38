#!/usr/bin/env python3
"""The files' graph: a header and its source are one node, an include of another folder's or the
same folder's header is an edge. Prints every circle of nodes outside ui/ (where the widget
library's control and manager may know each other) and every function outside app/ whose
definition takes the frame, and exits 1 when there is either."""
import pathlib
import re
import sys

FOLDERS = ("app", "cli", "form", "engine", "params", "serial", "settings", "sim")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z0-9_/]+/[A-Za-z0-9_]+)\.h"', re.M)
# A definition starts at the line's start; its parameters may run over lines.
DEFINITION = re.compile(r"^[A-Za-z][\w:<>,*& ]*?\b([\w:~]+)\(([^;{}()]*)\)[^;{}()]*\{", re.M)

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
edges = {}
frame_takers = []
for folder in FOLDERS:
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(root).with_suffix("").as_posix()
        text = path.read_text(errors="replace")
        edges.setdefault(rel, set()).update(t for t in INCLUDE.findall(text) if t != rel)
        if folder != "app" and path.suffix == ".cpp":
            frame_takers += [f"{rel}: {name}" for name, params in DEFINITION.findall(text)
                             if "CM5Z30FrameWnd" in params]

# Tarjan's strongly connected components, iteratively; a component of two or more is a circle.
index, low, on_stack, stack, circles, counter = {}, {}, set(), [], [], [0]
for start in sorted(edges):
    if start in index:
        continue
    work = [(start, iter(sorted(edges.get(start, ()))))]
    index[start] = low[start] = counter[0]; counter[0] += 1
    stack.append(start); on_stack.add(start)
    while work:
        node, children = work[-1]
        child = next(children, None)
        if child is None:
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                part = []
                while True:
                    top = stack.pop(); on_stack.discard(top); part.append(top)
                    if top == node:
                        break
                if len(part) > 1:
                    circles.append(sorted(part))
        elif child not in edges:
            continue
        elif child not in index:
            index[child] = low[child] = counter[0]; counter[0] += 1
            stack.append(child); on_stack.add(child)
            work.append((child, iter(sorted(edges.get(child, ())))))
        elif child in on_stack:
            low[node] = min(low[node], index[child])

for circle in circles:
    print("circle: " + " ".join(circle))
for taker in frame_takers:
    print("takes the frame: " + taker)
print(f"file graph: {len(circles)} circles, {len(frame_takers)} functions outside app/ take the frame")
sys.exit(1 if circles or frame_takers else 0)
