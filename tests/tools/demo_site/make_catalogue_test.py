#!/usr/bin/env python3
"""The catalogue's posters and clips through its cache, made by small shell commands that
log each run: a second run makes nothing and copies the same bytes; a changed product is
made again alone and its old entry goes; a command that fails leaves nothing taken as made."""
import os
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "tools" / "demo_site"))
import make_catalogue  # noqa: E402


class CacheTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.root = Path(folder.name)
        self.cache = self.root / "cache"
        self.log = self.root / "made.log"

    def product(self, name, content):
        """A command that logs its run and writes CONTENT to the file named last, failing after
        that while the file "fail" stands; and where its product goes in the site."""
        script = f'echo {name} >> "{self.log}"; printf %s {content} > "$0"; test ! -e "{self.root}/fail"'
        return ["sh", "-c", script], self.root / "site" / name

    def made(self):
        made = self.log.read_text().split() if self.log.exists() else []
        self.log.unlink(missing_ok=True)
        return sorted(made)

    def make(self, *products):
        make_catalogue.make_files(list(products), self.cache)

    def test_a_second_run_makes_nothing_and_copies_the_same_bytes(self):
        products = [self.product("a.png", "poster"), self.product("1.mp4", "clip")]
        self.make(*products)
        self.assertEqual(self.made(), ["1.mp4", "a.png"])
        (self.root / "site").joinpath("a.png").unlink()
        self.make(*products)
        self.assertEqual(self.made(), [])
        self.assertEqual([path.read_text() for _, path in products], ["poster", "clip"])

    def test_a_changed_product_is_made_again_alone_and_its_old_entry_goes(self):
        self.make(self.product("a.png", "poster"), self.product("1.mp4", "clip"))
        self.made()
        self.make(self.product("a.png", "poster"), self.product("1.mp4", "clip2"))
        self.assertEqual(self.made(), ["1.mp4"])
        self.assertEqual((self.root / "site" / "1.mp4").read_text(), "clip2")
        self.assertEqual(sorted(entry.suffix for entry in self.cache.iterdir()), [".mp4", ".png"])

    def test_a_failed_command_leaves_nothing_taken_as_made(self):
        (self.root / "fail").touch()
        with self.assertRaises(SystemExit):
            self.make(self.product("1.mp4", "clip"))
        self.made()
        (self.root / "fail").unlink()
        self.make(self.product("1.mp4", "clip"))
        self.assertEqual(self.made(), ["1.mp4"])
        self.assertEqual((self.root / "site" / "1.mp4").read_text(), "clip")
        self.assertEqual(len(os.listdir(self.cache)), 1)


if __name__ == "__main__":
    unittest.main()
