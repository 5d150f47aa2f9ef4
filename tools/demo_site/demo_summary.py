#!/usr/bin/env python3
"""Summarises a demo run of Update and checks its outcome.

demo_summary.py DESCRIPTION PROGRAM_FOLDER [DUMP]

Prints what the wizard showed (from the JSON-lines dump of a headless run, when given)
and checks that the program folder now holds the published release of the description
(deploy/demo/site.txt) byte for byte (a file the installed release already held as it
is published is called unchanged), its "up.dat" names the published version and the
work folder is gone. Exits 1 when any check fails.
"""

import json
import pathlib
import sys


def release_line(description, kind, version_at):
    """(version, folder) of the description's "installed" or "published" line."""
    for line in description.read_text(encoding="utf-8").splitlines():
        words = line.split(" ")
        if words[0] == kind and len(words) >= version_at + 3:
            return words[version_at], description.parent / " ".join(words[version_at + 2:])
    sys.exit(f"{description}: no {kind} line")


def read_dump(dump):
    """{label: {control name: record}} for each dump, and the records after the last one."""
    dumps, label, tail = {}, None, []
    for line in dump.read_text(encoding="utf-8").splitlines():
        record = json.loads(line)
        kind = record.get("record")
        if kind == "dump":
            label = record["label"]
            dumps[label] = {}
        elif kind == "control":
            dumps[label][record["name"]] = record
        elif label == "end" or kind == "exit":
            tail.append(record)
    return dumps, tail


def caption(controls, name):
    return controls.get(name, {}).get("caption", "")


def summarise(dump):
    dumps, tail = read_dump(dump)
    print("Pages the wizard showed:")
    for label in ("start", "list", "done"):
        controls = dumps.get(label)
        if controls is None:
            print(f"  {label}: not reached")
            continue
        texts = [caption(controls, name) for name in ("标签_功能说明", "标签_网络状态")]
        print(f"  {label}: " + " / ".join(text for text in texts if text))
    done = dumps.get("done", {})
    names = done.get("列表框_更新文件", {}).get("rows", [])
    sizes = done.get("列表框_文件大小", {}).get("rows", [])
    states = done.get("列表框_状态", {}).get("rows", [])
    print("Files replaced:")
    for index, name in enumerate(names):
        size = sizes[index] if index < len(sizes) else ""
        state = states[index] if index < len(states) else ""
        print(f"  {name} ({size} bytes): {state or 'not replaced'}")
    started = [record for record in tail if record.get("record") == "program_started"]
    for record in started:
        print(f"Player start recorded: {record['verb']} {record['file']}")
    if not started:
        print("Player start recorded: none")
    exit_code = next((record["code"] for record in tail if record.get("record") == "exit"), None)
    print(f"Update ended with code {exit_code}")
    return bool(started) and exit_code == 0 and bool(names) and all(s == "完成" for s in states[: len(names)])


def check_folder(program, version, release, previous):
    ok = True
    for source in sorted(path for path in release.rglob("*") if path.is_file()):
        relative = source.relative_to(release)
        installed = program / relative
        same = installed.is_file() and installed.read_bytes() == source.read_bytes()
        old = previous / relative
        unchanged = old.is_file() and old.read_bytes() == source.read_bytes()
        print(f"  {relative}: {('unchanged' if unchanged else 'new version') if same else 'NOT the new version'}")
        ok = ok and same
    listed = (program / "up.dat").read_bytes().decode("gbk", "replace").splitlines()
    if f"版本号={version}" not in listed:
        print(f"  up.dat does not name version {version}")
        ok = False
    if (program / "update").exists():
        print(f"  the work folder {program / 'update'} is still there")
        ok = False
    return ok


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    description, program = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    version, release = release_line(description, "published", 2)
    _, previous = release_line(description, "installed", 1)
    ok = summarise(pathlib.Path(sys.argv[3])) if len(sys.argv) == 4 else True
    print(f"Program folder {program} after the update to {version}:")
    ok = check_folder(program, version, release, previous) and ok
    print("Update " + ("succeeded." if ok else "FAILED."))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
