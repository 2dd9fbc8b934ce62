#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks that the first gray ball of a screenshot of the main window is the ball picture of the
given size drawn pixel for pixel, not a smaller picture resampled.

The first ball is found by its flat gray (134, 134, 134) and the picture laid where it fits
best. The pictures are discs with hard edges; around the left half of the disc, which no
neighbour covers, the screenshot must show the window's face where the picture is clear, and
flat gray where it is opaque above and below the number.

Usage: compare_ball_picture.py SCREENSHOT.pam PICTURE.pam   (ImageMagick's convert writes both)
"""
import sys

GRAY = (134, 134, 134)


def read_pam(path):
    with open(path, "rb") as f:
        data = f.read()
    header, _, pixels = data.partition(b"ENDHDR\n")
    fields = dict(line.split(b" ", 1) for line in header.splitlines()[1:] if b" " in line)
    width, height, depth = (int(fields[k]) for k in (b"WIDTH", b"HEIGHT", b"DEPTH"))
    rows = [[tuple(pixels[(y * width + x) * depth:(y * width + x + 1) * depth])
             for x in range(width)] for y in range(height)]
    return width, height, rows


def mismatches(shot, picture, size, dx, dy):
    """Pixels around the left half of the disc at (dx, dy) that the picture does not explain."""
    # The face beside the ball, left of its middle row.
    face = shot[dy + size // 2][dx - 2][:3]
    checked = wrong = 0
    for y in range(size):
        for x in range(size // 2):
            alpha = picture[y][x][3]
            if alpha == 0:
                want = face
            elif alpha == 255 and not size * 0.15 <= y <= size * 0.65:
                want = GRAY
            else:
                continue
            checked += 1
            if any(abs(s - w) > 3 for s, w in zip(shot[dy + y][dx + x][:3], want)):
                wrong += 1
    return wrong, checked


def main():
    shot_width, shot_height, shot = read_pam(sys.argv[1])
    size, _, picture = read_pam(sys.argv[2])
    # The first row with a long run of flat gray crosses the first row of balls; the leftmost
    # run in it is the first ball's.
    run = [c for c in range(size // 3)]
    found = None
    for y in range(shot_height):
        for x in range(shot_width - len(run)):
            if all(shot[y][x + c][:3] == GRAY for c in run):
                found = (x, y)
                break
        if found:
            break
    if found is None:
        sys.exit("check_ball_picture: no gray ball in the screenshot")
    x, y = found
    best = None
    for dy in range(max(0, y - size // 2), y + 1):
        for dx in range(max(2, x - size // 2), x + 1):
            wrong, checked = mismatches(shot, picture, size, dx, dy)
            if best is None or wrong < best[0]:
                best = (wrong, checked, dx, dy)
    wrong, checked, dx, dy = best
    print(f"ball of {size} pixels at ({dx}, {dy}): {checked - wrong} of {checked} pixels"
          f" as drawn from the picture")
    if wrong:
        sys.exit(f"check_ball_picture: no {size}-pixel ball picture drawn as it is near ({x}, {y});"
                 f" the best place, ({dx}, {dy}), has {wrong} of {checked} pixels that differ")


if __name__ == "__main__":
    main()
