#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Counts the balls of each colour that a screenshot of the main window shows, by area.

The ball pictures are flat discs of pure red, pure blue and gray (134, 134, 134) with the ball's
number written over them in white. Every ball and its number stay where they are, so a ball
shows the same number of pixels of its colour whatever colour it has. The screenshot taken at
start, where all 49 balls are gray, gives that number on average; the balls of a colour in a
later screenshot are its pixels divided by it. The labels' digits differ a little in area, a
few per cent of a ball, far less than the half ball that would change a count.

Usage: read_board.py START.ppm NOW.ppm   (binary PPM files, as ImageMagick's convert writes them)
Prints: red=N blue=N gray=N, the counts of NOW
"""
import sys

BALLS = 49
COLOURS = {"red": b"\xff\x00\x00", "blue": b"\x00\x00\xff", "gray": b"\x86\x86\x86"}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position : position + 1].isspace():
            position += 1
        if data[position : position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    return data[position + 1 :]


def pixels_of(picture, colour):
    return sum(1 for i in range(0, len(picture), 3) if picture[i : i + 3] == colour)


def main():
    start, now = read_ppm(sys.argv[1]), read_ppm(sys.argv[2])
    per_ball = pixels_of(start, COLOURS["gray"]) / BALLS
    if per_ball < 100:
        raise SystemExit(f"{sys.argv[1]}: no board of gray balls ({per_ball:.0f} pixels a ball)")
    counts = {name: pixels_of(now, colour) / per_ball for name, colour in COLOURS.items()}
    for name, count in counts.items():
        if abs(count - round(count)) > 0.25:
            print(f"read_board: {count:.2f} {name} balls", file=sys.stderr)
    print(" ".join(f"{name}={round(count)}" for name, count in counts.items()))


if __name__ == "__main__":
    main()
