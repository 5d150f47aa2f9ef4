#!/usr/bin/env python3
"""Checks that each target includes only headers of itself and of the libraries it links.

Reads the graph that configuring writes (cmake/KorvaneLayering.cmake): one line a target,
tab-separated: name, source folder, sources, linked libraries, public (interface) links.
A target's own files are its .cpp sources and their headers. A header belongs to the
targets that compile its .cpp; a header without one belongs to the
targets whose folder (or a source's folder) it stands in. Exits 1 and names each include
that no link allows, and each target in tools/ that is linked with the test doubles.
"""
import os
import re
import sys

TEST_DOUBLES = "korvane_platform_testing"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def main(graph_file, source_root):
    targets = {}
    for line in open(graph_file, encoding="utf-8").read().splitlines():
        name, folder, sources, links, public = (line.split("\t") + [""] * 5)[:5]
        paths = [os.path.normpath(os.path.join(folder, s)) for s in sources.split("|") if s]
        targets[name] = {
            "folder": os.path.normpath(folder),
            "sources": paths,
            "links": [l for l in links.split("|") if l],
            "public": [l for l in public.split("|") if l],
        }

    compiled_by = {}
    folders_of = {}
    for name, target in targets.items():
        folders_of.setdefault(target["folder"], set()).add(name)
        for source in target["sources"]:
            compiled_by.setdefault(source, set()).add(name)
            folders_of.setdefault(os.path.dirname(source), set()).add(name)

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

    faults = []
    for name, target in sorted(targets.items()):
        allowed = reachable(name) | {name}
        own_files = []
        for source in target["sources"]:
            if source.endswith(".cpp") and source.startswith(source_root + os.sep):
                own_files.append(source)
                if os.path.exists(source[:-4] + ".h"):
                    own_files.append(source[:-4] + ".h")
        for source in own_files:
            for header in INCLUDE.findall(open(source, encoding="utf-8").read()):
                path = os.path.normpath(os.path.join(source_root, header))
                if not os.path.exists(path):
                    continue
                owners = compiled_by.get(os.path.splitext(path)[0] + ".cpp") or folders_of.get(
                    os.path.dirname(path), set())
                if owners and not owners & allowed:
                    faults.append("%s: %s includes %s (of %s), which it does not link" % (
                        name, os.path.relpath(source, source_root), header, ", ".join(sorted(owners))))
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
            faults.append("%s: a shipped tool links the test doubles (%s)" % (name, TEST_DOUBLES))

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], os.path.normpath(sys.argv[2])))
