#!/usr/bin/env python3
"""The layering check on a small tree of its own: clean, it passes; one include that runs
against the links or up the floors, it fails and names that include."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import check_layering  # noqa: E402

# name, folder, sources, links, public links, type
LIBRARY, PROGRAM = "STATIC_LIBRARY", "EXECUTABLE"
TARGETS = [
    ("korvane_common", "common", ["text.cpp"], [], [], LIBRARY),
    ("korvane_platform_services", "platform/services", ["date_text.cpp"], ["korvane_common"],
     ["korvane_common"], LIBRARY),
    ("korvane_player", "player", ["core/globals.cpp", "windows/window.cpp",
                                  "catalogue/scraper.cpp", "playback/list.cpp"],
     ["korvane_platform_services"], ["korvane_platform_services"], LIBRARY),
    ("Player", "player", ["player_main.cpp"], ["korvane_player"], [], PROGRAM),
    ("korvane_encipher", "tools", ["encipher.cpp"], ["korvane_common"], [], LIBRARY),
    # Two tests: one shares the helper that stands in the other's folder.
    ("player_test", "tests/player", ["player_test.cpp"], ["korvane_player"], [], PROGRAM),
    ("player_window_test", "tests/player/windows", ["window_test.cpp"], ["korvane_player"], [],
     PROGRAM),
]

# Every file of the clean tree and what it includes. shell.h and values.h have no .cpp.
TREE = {
    "common/text.h": [],
    "common/text.cpp": ["common/text.h"],
    "platform/services/shell.h": ["common/text.h"],
    "platform/services/date_text.h": ["platform/services/shell.h"],
    "platform/services/date_text.cpp": ["platform/services/date_text.h"],
    "player/core/values.h": ["common/text.h"],
    "player/core/globals.h": ["player/core/values.h"],
    "player/core/globals.cpp": ["player/core/globals.h", "platform/services/date_text.h"],
    "player/windows/window.h": ["player/core/globals.h"],
    "player/windows/window.cpp": ["player/windows/window.h"],
    "player/catalogue/scraper.h": ["player/windows/window.h"],
    "player/catalogue/scraper.cpp": ["player/catalogue/scraper.h"],
    "player/playback/list.h": ["player/windows/window.h"],
    "player/playback/list.cpp": ["player/playback/list.h"],
    "player/player_main.cpp": ["player/catalogue/scraper.h", "player/playback/list.h"],
    "tools/encipher.h": [],
    "tools/encipher.cpp": ["tools/encipher.h", "common/text.h"],
    "tests/player/headless.h": ["player/windows/window.h"],
    "tests/player/player_test.cpp": ["tests/player/headless.h"],
    "tests/player/windows/window_test.cpp": ["tests/player/headless.h"],
}

# One include added to the clean tree, and what the report must say of it.
FAULTS = [
    # A header without a .cpp that reaches up a layer and outside its links.
    ("platform/services/shell.h", "player/core/globals.h",
     ["platform/services/shell.h includes player/core/globals.h (of korvane_player), which "
      "korvane_platform_services does not link",
      "platform/services/shell.h includes player/core/globals.h: platform stands below player"]),
    # Within one target only the floors catch an include running back up.
    ("player/core/values.h", "player/windows/window.h",
     ["player/core/values.h includes player/windows/window.h: player/core stands below player/windows"]),
    ("player/windows/window.cpp", "player/player_main.cpp",
     ["player/windows/window.cpp includes player/player_main.cpp: player/windows stands below player itself"]),
    # A test's helper is held to the links of every test that compiles it.
    ("tests/player/headless.h", "tools/encipher.h",
     ["tests/player/headless.h includes tools/encipher.h (of korvane_encipher), which "
      "player_test, player_window_test does not link"]),
    # Rooms of one floor stand apart.
    ("player/catalogue/scraper.h", "player/playback/list.h",
     ["player/catalogue/scraper.h includes player/playback/list.h: player/catalogue stands on the "
      "same floor as player/playback"]),
]


class CheckLayeringTest(unittest.TestCase):
    def run_check(self, extra_include=None):
        with tempfile.TemporaryDirectory() as root:
            for path, includes in TREE.items():
                if extra_include and path == extra_include[0]:
                    includes = includes + [extra_include[1]]
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                    out.writelines('#include "%s"\n' % header for header in includes)
            graph = os.path.join(root, "graph.txt")
            with open(graph, "w", encoding="utf-8") as out:
                for name, folder, sources, links, public, kind in TARGETS:
                    out.write("\t".join([name, os.path.join(root, folder), "|".join(sources),
                                         "|".join(links), "|".join(public), kind]) + "\n")
            return check_layering.faults_of(graph, root, os.path.join(root, "build"))

    def test_clean_tree_passes(self):
        self.assertEqual(self.run_check(), [])

    def test_include_against_the_layers_fails(self):
        for source, header, expected in FAULTS:
            with self.subTest(source=source, header=header):
                faults = self.run_check((source, header))
                for line in expected:
                    self.assertTrue(any(f.startswith(line) for f in faults),
                                    "%r not in %r" % (line, faults))


if __name__ == "__main__":
    unittest.main()
