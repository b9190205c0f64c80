#!/usr/bin/python3
"""Reads a window's captions back from its screenshot.

    readback.py <screenshot.png> <pixels per point> <captions file> <prefix>

The captions file holds lines "x y width height text" in the window's own
points (atspi.py captions); a point is that many pixels of the screenshot.
Each caption's area is cut out, made black on white and read with tesseract.
A caption reads back whole when nine in ten of its words are read, its last
two among them: a caption cut off by its place or by what lies over it
loses its last words. Two captions may share pixels only where one is the
frame that holds the other. Prints each caption that is cut or overlaps
another, and exits 1. The images read are kept as <prefix>N.png.
"""

import difflib
import re
import subprocess
import sys

# Captions are read at four times their size at scale 1: tesseract misreads
# small text.
READING_SCALE = 4
ENOUGH_WORDS = 0.9
SAME_WORD = 0.85


def words(text):
    return re.findall(r"[a-z0-9]+", text.lower())


def same(word, other):
    # A letter or two misread in a long word is the reader's noise; a word cut
    # short by its place scores less than this.
    return word == other or (len(word) > 3 and
                             difflib.SequenceMatcher(None, word, other).ratio() >= SAME_WORD)


def read_words(expected, read):
    """Which expected words were read, each read word standing for one only."""
    unused = list(read)
    found = []
    for word in expected:
        match = next((at for at, other in enumerate(unused) if same(word, other)), None)
        found.append(match is not None)
        if match is not None:
            del unused[match]
    return found


def read_area(shot, scale, box, image):
    x, y, width, height = (round(value * scale) for value in box)
    magnify = f"{100 * READING_SCALE / scale:.0f}%"
    mean = subprocess.run(
        ["convert", shot, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-colorspace", "Gray",
         "-format", "%[fx:mean]", "info:"],
        check=True, capture_output=True, text=True).stdout
    # Light text on a dark ground is turned round: tesseract reads dark on light.
    negate = ["-negate"] if float(mean) < 0.5 else []
    subprocess.run(
        ["convert", shot, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-colorspace", "Gray",
         *negate, "-resize", magnify, "-normalize", "-threshold", "55%", "-bordercolor", "white",
         "-border", "20", image],
        check=True)
    return subprocess.run(["tesseract", image, "-", "--psm", "6"], check=True,
                          capture_output=True, text=True).stdout


def holds(outer, inner):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and
            inner[0] + inner[2] <= outer[0] + outer[2] and inner[1] + inner[3] <= outer[1] + outer[3])


def overlap(one, other):
    """Two captions that share pixels, neither being the frame of the other."""
    across = min(one[0] + one[2], other[0] + other[2]) - max(one[0], other[0])
    down = min(one[1] + one[3], other[1] + other[3]) - max(one[1], other[1])
    return across > 0 and down > 0 and not holds(one, other) and not holds(other, one)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    shot, scale, captions, prefix = argv[1], float(argv[2]), argv[3], argv[4]
    with open(captions, encoding="utf-8") as lines:
        shown = [line.rstrip("\n").split(" ", 4) for line in lines]
    boxes = [tuple(int(value) for value in caption[:4]) for caption in shown]
    faults = 0
    for first in range(len(shown)):
        for second in range(first + 1, len(shown)):
            if overlap(boxes[first], boxes[second]):
                faults += 1
                print(f"overlapping: {' '.join(shown[first])}\n        and: {' '.join(shown[second])}")
    for number, (box, (*_, text)) in enumerate(zip(boxes, shown)):
        x, y, width, height = box
        image = f"{prefix}{number}.png"
        read = read_area(shot, scale, box, image)
        found = read_words(words(text), words(read))
        if not all(found[-2:]) or sum(found) < ENOUGH_WORDS * len(found):
            faults += 1
            print(f"not read whole at {x},{y} {width}x{height} ({image}):\n"
                  f"  shown: {text}\n  read:  {' '.join(read.split())}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
