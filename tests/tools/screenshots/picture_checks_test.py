"""The screenshot tool's checks of what it captured: the faults it found in runs that kept
a wrong picture (a menu taken as its 1 x 1 neighbour, a view taken before the click
changed it, a window not drawn yet, a player before its video's first frame) and a
picture that shows its window."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "tools" / "screenshots"))
import picture_checks  # noqa: E402


def picture(folder, name, *drawing):
    """A PNG drawn by ImageMagick: `drawing` is convert's arguments before the file."""
    path = Path(folder) / name
    subprocess.run(["convert", *drawing, str(path)], check=True)
    return path


class PictureChecksTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        # A window's picture: a dark frame with a lighter panel and a line of text's worth.
        self.window = picture(self.folder.name, "window.png", "-size", "200x120", "xc:#101018", "-fill", "#3060c0",
                              "-draw", "rectangle 20,20 180,100")
        self.other = picture(self.folder.name, "other.png", "-size", "200x120", "xc:#101018", "-fill", "#c06030",
                             "-draw", "rectangle 20,20 120,100")

    def test_a_picture_that_shows_its_window_passes(self):
        self.assertEqual(picture_checks.faults(self.window, (200, 120), self.other), [])
        self.assertEqual(picture_checks.faults(self.window, (180, 100)), [])

    def test_wrong_pictures_are_found(self):
        cases = [
            ("a menu taken as a 1 x 1 window", picture(self.folder.name, "menu.png", "-size", "1x1", "xc:#c0c0c0"),
             (60, 40), None, ["1 x 1, smaller than 60 x 40", "one colour"]),
            ("a window not drawn yet", picture(self.folder.name, "black.png", "-size", "200x120", "xc:black"),
             (200, 120), None, ["one colour"]),
            ("a view taken before the click changed it", self.window, (200, 120),
             picture(self.folder.name, "before.png", "-size", "200x120", "xc:#101018", "-fill", "#3060c0",
                     "-draw", "rectangle 20,20 180,100"), ["the same as before the step"]),
            ("a picture never taken", Path(self.folder.name) / "missing.png", (1, 1), None, ["not taken"]),
        ]
        for what, shot, least_size, before, expected in cases:
            with self.subTest(what):
                found = picture_checks.faults(shot, least_size, before)
                self.assertEqual(len(found), len(expected), found)
                for fault, part in zip(found, expected):
                    self.assertIn(part, fault)

    def test_a_part_that_shows_nothing_yet_is_found(self):
        # A player taken before its video's first frame: its area still one colour.
        # A page over a video taken before it loaded: the video's colour where the page's is.
        cases = [("the video's area still black", {"shown_part": (0, 0, 200, 15)}, ["one colour at (0, 0, 200, 15)"]),
                 ("the video drawn", {"shown_part": (10, 10, 40, 40)}, []),
                 ("the page not shown yet", {"pixel": ((30, 30), "#C06030")}, ["#3060C0 at (30, 30), not #C06030"]),
                 ("the page shown", {"pixel": ((30, 30), "#3060C0")}, [])]
        for what, expectation, expected in cases:
            with self.subTest(what):
                found = picture_checks.faults(self.window, (200, 120), None, **expectation)
                self.assertEqual(len(found), len(expected), found)
                for fault, part in zip(found, expected):
                    self.assertIn(part, fault)

    def test_a_picture_one_pixel_off_is_not_the_same(self):
        moved = picture(self.folder.name, "moved.png", str(self.window), "-fill", "white", "-draw", "point 5,5")
        self.assertFalse(picture_checks.same(self.window, moved))
        self.assertTrue(picture_checks.same(self.window, self.window))


if __name__ == "__main__":
    unittest.main()
