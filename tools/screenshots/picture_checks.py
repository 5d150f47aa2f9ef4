"""What a screenshot must be to show what its name says (ImageMagick reads the files).

A capture is kept only when it is at least as large as the window it is of, is not one
colour (a window not drawn yet, a capture of the wrong window), and differs from the same
part of the screen before the step that should have changed it."""

import subprocess
from pathlib import Path


def _magick(*command):
    return subprocess.run(command, capture_output=True, text=True)


def size(picture):
    width, height = _magick("identify", "-format", "%w %h", str(picture)).stdout.split()
    return int(width), int(height)


def uniform(picture, part=None):
    """Whether every pixel of the picture (of its `part`: left, top, width, height) has the
    same colour."""
    crop = [] if part is None else ["-crop", "{2}x{3}+{0}+{1}".format(*part), "+repage"]
    return _magick("convert", str(picture), *crop, "-format",
                   "%[fx:minima.r==maxima.r && minima.g==maxima.g && minima.b==maxima.b]", "info:").stdout.strip() == "1"


def same(picture, other):
    """Whether both pictures have the same size and pixels."""
    if size(picture) != size(other):
        return False
    compared = _magick("compare", "-metric", "AE", str(picture), str(other), "null:")
    return compared.stderr.strip().split(" ")[0] == "0"


def colour_at(picture, point):
    """The colour of the picture's pixel at `point` (x, y), as "#RRGGBB"."""
    return "#" + _magick("convert", str(picture), "-crop", "1x1+{0}+{1}".format(*point), "+repage", "-format",
                         "%[hex:p{0,0}]", "info:").stdout.strip()[:6].upper()


def faults(picture, least_size, before=None, shown_part=None, pixel=None):
    """What is wrong with `picture`: empty when it is at least `least_size` (width,
    height), not one colour, not the same as `before` (a picture of the same part of the
    screen before the step), not one colour in `shown_part` (left, top, width, height:
    where its state shows, such as a video's area), and of the colour `pixel` gives at its
    point (((x, y), "#RRGGBB"): what only that state shows there, such as a page's)."""
    picture = Path(picture)
    if not picture.exists():
        return [f"{picture.name}: not taken"]
    found = []
    width, height = size(picture)
    if width < least_size[0] or height < least_size[1]:
        found.append(f"{picture.name}: {width} x {height}, smaller than {least_size[0]} x {least_size[1]}")
    if uniform(picture):
        found.append(f"{picture.name}: one colour")
    if shown_part is not None and width >= shown_part[0] + shown_part[2] and height >= shown_part[1] + shown_part[3] \
            and uniform(picture, shown_part):
        found.append(f"{picture.name}: one colour at {shown_part}")
    if pixel is not None and width > pixel[0][0] and height > pixel[0][1] and colour_at(picture, pixel[0]) != pixel[1]:
        found.append(f"{picture.name}: {colour_at(picture, pixel[0])} at {pixel[0]}, not {pixel[1]}")
    if before is not None and Path(before).exists() and same(picture, before):
        found.append(f"{picture.name}: the same as before the step ({Path(before).name})")
    return found
