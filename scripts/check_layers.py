#!/usr/bin/env python3
"""Fails when a module includes a header of a module it does not depend on.

Every module exports the whole source root, so the compiler would accept an
upward include; this compares each module's #include lines with the
dependencies its CMakeLists.txt declares (nuv_module ... DEPENDS, or for the
host and the tool target_link_libraries, followed transitively) and prints
every include that crosses the declared layering: only the host includes
the plug-in loader (host/), every other module the abstract controller.
It also fails when the top-level CMakeLists.txt adds a module before one
it depends on, so that the list there reads foundation first.
Run from anywhere: scripts/check_layers.py
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MODULE = re.compile(r"nuv_module\((\w+)(?:\s+STATIC)?(?:\s+DEPENDS([^)]*))?\)")
# The host and the tool are plain static libraries: add_library(<name> STATIC
# ...) with their dependencies in target_link_libraries(<name> PUBLIC ...).
LIBRARY = re.compile(r"add_library\((\w+)\s+STATIC\b")
LINKS = r"target_link_libraries\({}\s+(?:PUBLIC|PRIVATE|INTERFACE)?([^)]*)\)"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([\w/]+)/[\w.]+"', re.M)


def modules():
    """name -> (folder relative to the root, declared project dependencies)."""
    found = {}
    for cmake in ROOT.glob("**/CMakeLists.txt"):
        rel = cmake.parent.relative_to(ROOT)
        if rel.parts and (rel.parts[0].startswith("build") or rel.parts[0] == "tests"):
            continue
        text = cmake.read_text()
        for name, deps in MODULE.findall(text):
            found[name] = (str(rel), deps.split())
        for name in LIBRARY.findall(text):
            links = re.search(LINKS.format(name), text)
            found[name] = (str(rel), links.group(1).split() if links else [])
    for name, (folder, deps) in found.items():
        found[name] = (folder, [d for d in deps if d in found])
    return found


def closure(name, graph, seen=None):
    seen = set() if seen is None else seen
    for dep in graph[name][1]:
        if dep not in seen:
            seen.add(dep)
            closure(dep, graph, seen)
    return seen


def order_problems(graph):
    """The top-level CMakeLists.txt adds the modules foundation first: a
    module's dependencies must come before it in that list."""
    text = (ROOT / "CMakeLists.txt").read_text()
    order = re.findall(r"^add_subdirectory\((\w+)\)", text, re.M)
    position = {}
    for name, (folder, _) in graph.items():
        top = pathlib.PurePath(folder).parts[0]
        if top in order:
            position[name] = order.index(top)
    bad = []
    for name, (folder, deps) in sorted(graph.items()):
        for dep in deps:
            if dep in position and name in position and position[dep] > position[name]:
                bad.append(f"CMakeLists.txt: {folder}/ comes before {graph[dep][0]}/, "
                           f"which {name} depends on")
    return bad


def main():
    graph = modules()
    by_folder = {folder: name for name, (folder, _) in graph.items()}
    bad = order_problems(graph)
    for name, (folder, _) in sorted(graph.items()):
        allowed = closure(name, graph) | {name}
        for source in sorted((ROOT / folder).glob("*.[ch]*")):
            for target in INCLUDE.findall(source.read_text(errors="replace")):
                used = by_folder.get(target)
                if used is not None and used not in allowed:
                    bad.append(f"{source.relative_to(ROOT)}: includes {target}/, "
                               f"but {name} does not depend on {used}")
    for line in bad:
        print(line, file=sys.stderr)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
