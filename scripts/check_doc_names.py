#!/usr/bin/env python3
"""Checks that every code name the docs quote exists in the code.

Reads README.md, docs/*.md and every README.md below the source folders. A quoted name
(between backticks) that looks like code is looked up: a path must exist (from the source
root, or from the folder of the doc), an identifier must stand as a word in some source,
layout or script. Commands (a quote with a blank), environment settings (NAME=value),
numbers and the system's own texts in double quotes are not names. Exits 1 and names each
quote it could not find.
"""
import glob
import os
import re
import sys

SOURCE_FOLDERS = ["common", "platform", "player", "update", "resources", "deploy", "tools", "tests",
                  "bench", "scripts", "cmake", ".ci"]
SOURCE_ENDINGS = (".h", ".cpp", ".py", ".sh", ".cmake", ".json", ".txt", ".layout.json")
QUOTE = re.compile(r"`([^`\n]+)`")
IDENTIFIER = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_~][A-Za-z0-9_]*)*(\(\))?$")
PATH = re.compile(r"^[A-Za-z0-9_.\-]+(/[A-Za-z0-9_.\-*]*)+$|^[A-Za-z0-9_\-]+\.(h|cpp|py|json|md|sh)$")
# Words that stand in backticks as terms, not as names in the code.
TERMS = {"Referer", "Accept", "Pragma", "Range", "Exec", "next", "wid", "true", "false", "null"}
# Names of the libraries the code calls, and what the programs make at run time.
FOREIGN = ("Gtk", "Gdk", "gtk_", "gdk_", "g_", "G_", "curl_", "CURL", "mpv_", "webkit_", "Webkit", "pcre2_", "cairo_",
           "pango_", "Pango")
NOT_SOURCE = ("build/", "image/", "video/", "text/", "audio/", "application/", "http:", "https:", "~/", "$")


def docs(root):
    found = [os.path.join(root, "README.md")]
    found += [os.path.join(root, "docs", f) for f in sorted(os.listdir(os.path.join(root, "docs")))
              if f.endswith(".md")]
    for folder in SOURCE_FOLDERS:
        for base, dirs, files in os.walk(os.path.join(root, folder)):
            dirs[:] = [d for d in dirs if d not in ("build", "node_modules", "__pycache__")]
            found += [os.path.join(base, f) for f in files if f == "README.md"]
    return [f for f in found if os.path.exists(f)]


def source_words(root):
    words = set()
    for folder in SOURCE_FOLDERS + ["CMakeLists.txt", "CMakePresets.json"]:
        top = os.path.join(root, folder)
        walk = [(root, [], [folder])] if os.path.isfile(top) else os.walk(top)
        for base, dirs, files in walk:
            dirs[:] = [d for d in dirs if d not in ("build", "node_modules", "__pycache__", "screenshots")]
            for name in files:
                if not (name.endswith(SOURCE_ENDINGS) or name in ("CMakeLists.txt", "demo", "test", "setup", "run")):
                    continue
                try:
                    text = open(os.path.join(base, name), encoding="utf-8", errors="replace").read()
                except OSError:
                    continue
                words.update(re.findall(r"[A-Za-z_][A-Za-z0-9_]*|[^\x00-\x7f]+", text))
    return words


def path_exists(root, doc, quoted):
    candidate = quoted.split(" ")[0].rstrip("/")
    for base in (root, os.path.dirname(doc)):
        path = os.path.join(base, candidate)
        if glob.glob(path) or any(os.path.exists(path + e) for e in (".h", ".cpp")):
            return True
    # A file named by its folder's relative path only (e.g. "desktop/desktop_engine.h").
    tail = os.sep + candidate
    for base, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in (".git", "build", "node_modules")]
        for name in files + dirs:
            if os.path.join(base, name).endswith(tail):
                return True
    return False


def check(root):
    words = source_words(root)
    faults = []
    for doc in docs(root):
        text = open(doc, encoding="utf-8").read()
        # Diagrams and sample blocks are no quotes; their lines are kept for the numbering.
        text = re.sub(r"```.*?```", lambda block: "\n" * block.group(0).count("\n"), text, flags=re.DOTALL)
        for number, line in enumerate(text.splitlines(), 1):
            for quoted in QUOTE.findall(line):
                quoted = quoted.strip()
                if " " in quoted or "=" in quoted or quoted in TERMS or quoted.startswith(("-", "$", ".", "<")):
                    continue
                if quoted.startswith(FOREIGN):
                    continue
                if PATH.match(quoted) and ("/" in quoted or "." in quoted):
                    if quoted.startswith(NOT_SOURCE) or "..." in quoted:
                        continue
                    if not path_exists(root, doc, quoted):
                        faults.append("%s:%d: no such file: %s" % (os.path.relpath(doc, root), number, quoted))
                    continue
                if IDENTIFIER.match(quoted):
                    name = re.split(r"::", quoted.replace("()", ""))[-1].lstrip("~")
                    if name not in words and not name.isupper():
                        faults.append("%s:%d: no such name: %s" % (os.path.relpath(doc, root), number, quoted))
                    continue
                if re.fullmatch(r"[^\x00-\x7f_0-9]+[^\x00-\x7f_0-9A-Za-z]*", quoted):
                    if not any(quoted in w for w in words if len(w) >= len(quoted)):
                        faults.append("%s:%d: no such name: %s" % (os.path.relpath(doc, root), number, quoted))
    return faults


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    faults = check(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
