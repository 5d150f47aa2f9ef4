#!/usr/bin/env python3
"""Checks the two rules of the include graph, over every file a target owns.

Links: a target includes only headers of itself and of the libraries it links. Floors: an
include runs only down the floors of FLOORS, never up nor sideways to another room of the
same floor.

Reads the graph that configuring writes (cmake/KorvaneLayering.cmake): one line a target,
tab-separated: name, source folder, sources, linked libraries, public (interface) links,
type. A header belongs to the targets that compile its .cpp; a header without one belongs
to the targets whose folder (or a source's folder) it stands in. Nothing links a program,
so a header only programs own (a test's helper) is held to the floors alone. Every .cpp source and every header
in a target's folders is read (generated files, under the build folder, are not); a header
without a .cpp is held to the links of each target whose sources reach it. Arguments: the
graph, the source root, the build folder. Exits 1 and names each include that breaks a rule,
and each target in tools/ that is linked with the test doubles.
"""
import os
import re
import sys

TEST_DOUBLES = "korvane_platform_testing"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)

# The floors of each folder, lowest first; a floor holds one or more rooms (subfolders, "."
# for the folder's own files). A file includes from its own room or a lower floor; within a
# room that has floors of its own, the same rule holds one level down.
FLOORS = {
    "": [["common", "deploy"], ["platform"], ["resources"], ["player", "update"], ["tools"],
         ["tests", "bench"]],
    "platform": [["core"], ["services"], ["ui", "testing"], ["app"]],
    "platform/ui": [["."], ["desktop"]],
    "player": [["core"], ["windows"], ["catalogue", "playback"], ["startup"], ["."]],
    "update": [["download", "widgets"], ["wizard"]],
}


def room_in(folder, path):
    """The room of `folder` that `path` (relative to the source root) stands in."""
    inner = os.path.relpath(path, folder) if folder else path
    parts = inner.split(os.sep)
    return parts[0] if len(parts) > 1 else "."


def floor_of(folder, room):
    for number, rooms in enumerate(FLOORS[folder]):
        if room in rooms:
            return number
    return None


def room_name(folder, room):
    return folder + " itself" if room == "." else os.path.join(folder, room)


def read_text(path):
    with open(path, encoding="utf-8") as source:
        return source.read()


def floor_fault(source, header):
    """Why the include of `header` in `source` runs against the floors, or None."""
    folder = ""
    while folder in FLOORS:
        source_room, header_room = room_in(folder, source), room_in(folder, header)
        for path, room in ((source, source_room), (header, header_room)):
            if floor_of(folder, room) is None:
                return "%s stands on no floor of %s" % (path, folder or "the tree")
        if source_room != header_room:
            source_floor, header_floor = floor_of(folder, source_room), floor_of(folder, header_room)
            if source_floor > header_floor:
                return None
            relation = "on the same floor as" if source_floor == header_floor else "below"
            return "%s stands %s %s" % (room_name(folder, source_room), relation,
                                        room_name(folder, header_room))
        if source_room == ".":
            return None
        folder = os.path.join(folder, source_room)
    return None


def read_graph(graph_file):
    targets = {}
    for line in read_text(graph_file).splitlines():
        name, folder, sources, links, public, kind = (line.split("\t") + [""] * 6)[:6]
        paths = [os.path.normpath(os.path.join(folder, s)) for s in sources.split("|") if s]
        targets[name] = {
            "folder": os.path.normpath(folder),
            "sources": paths,
            "links": [l for l in links.split("|") if l],
            "public": [l for l in public.split("|") if l],
            "program": kind == "EXECUTABLE",
        }
    return targets


def faults_of(graph_file, source_root, binary_root):
    targets = read_graph(graph_file)
    compiled_by = {}
    folders_of = {}
    for name, target in targets.items():
        folders_of.setdefault(target["folder"], set()).add(name)
        for source in target["sources"]:
            compiled_by.setdefault(source, set()).add(name)
            folders_of.setdefault(os.path.dirname(source), set()).add(name)

    def owners(header):
        return compiled_by.get(os.path.splitext(header)[0] + ".cpp") or folders_of.get(
            os.path.dirname(header), set())

    def inside(path):
        return path.startswith(source_root + os.sep) and not path.startswith(binary_root + os.sep)

    files = {s for t in targets.values() for s in t["sources"] if s.endswith(".cpp") and inside(s)}
    for folder in folders_of:
        if inside(folder) and os.path.isdir(folder):
            files.update(os.path.join(folder, e) for e in os.listdir(folder) if e.endswith(".h"))
    includes = {}
    for source in files:
        includes[source] = []
        for header in INCLUDE.findall(read_text(source)):
            path = os.path.normpath(os.path.join(source_root, header))
            if os.path.exists(path):
                includes[source].append((header, path))

    # The targets that compile a header without a .cpp: those whose sources reach it.
    compiled_in = {}
    for name, target in targets.items():
        stack = [s for s in target["sources"] if s in includes]
        seen = set()
        while stack:
            source = stack.pop()
            if source in seen:
                continue
            seen.add(source)
            compiled_in.setdefault(source, set()).add(name)
            stack.extend(path for _, path in includes.get(source, []) if path in includes)

    def checked_for(source):
        if source.endswith(".cpp") or os.path.splitext(source)[0] + ".cpp" in compiled_by:
            return owners(source)
        return compiled_in.get(source) or owners(source)

    def reachable(name):
        seen = set()
        stack = [l for l in targets[name]["links"] if l in targets]
        while stack:
            library = stack.pop()
            if library in seen:
                continue
            seen.add(library)
            stack.extend(l for l in targets[library]["public"] if l in targets)
        return seen

    faults = set()
    for source in sorted(files):
        relative_source = os.path.relpath(source, source_root)
        for header, path in includes[source]:
            header_owners = {o for o in owners(path) if not targets[o]["program"]}
            unlinked = sorted(name for name in checked_for(source) if header_owners and
                              not header_owners & (reachable(name) | {name}))
            if unlinked:
                faults.add("%s includes %s (of %s), which %s does not link" % (
                    relative_source, header, ", ".join(sorted(header_owners)), ", ".join(unlinked)))
            against_floors = floor_fault(relative_source, os.path.normpath(header))
            if against_floors:
                faults.add("%s includes %s: %s" % (relative_source, header, against_floors))

    # What a program or tool is linked with: every library's own links, private ones too.
    def linked(name):
        seen = set()
        stack = list(targets[name]["links"])
        while stack:
            library = stack.pop()
            if library in seen or library not in targets:
                continue
            seen.add(library)
            stack.extend(targets[library]["links"])
        return seen

    tools = os.path.join(source_root, "tools")
    for name, target in sorted(targets.items()):
        if (target["folder"] + os.sep).startswith(tools + os.sep) and TEST_DOUBLES in linked(name):
            faults.add("%s: a shipped tool links the test doubles (%s)" % (name, TEST_DOUBLES))
    return sorted(faults)


def main(graph_file, source_root, binary_root):
    faults = faults_of(graph_file, source_root, binary_root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], os.path.normpath(sys.argv[2]), os.path.normpath(sys.argv[3])))
