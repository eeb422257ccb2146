#!/usr/bin/env python3
"""Compares a rectangle of a screenshot with what the character window should show there.

    pixels.py SHOT X Y W H REFERENCE [BG_X BG_Y]

REFERENCE is the frame as the window draws it (RGBA, transparent around the character, as
`vembrel-preview --frame` writes it), W x H device pixels. The background is the screenshot's
colour at BG_X,BG_Y (by default its bottom left corner). Prints shell assignments:

    drawn=     pixels of the rectangle that differ from the background
    ref_drawn= the same count for the reference laid over the background
    dark=      near-black pixels (what a translucent window shows without a compositor)
    ref_dark=  the same for the reference
    match=     per mille of pixels within a small distance of the reference laid over the
               background: about 1000 when the frame is drawn exactly there with its soft edges
    edges=     per mille of the reference's half-transparent pixels that the screenshot shows
               blended with the background (soft edges), not cut off or black
"""
import subprocess
import sys

DRAWN = 40  # largest channel difference that still counts as background
CLOSE = 40  # largest channel difference that still matches the reference


def raw(path, geometry, fmt):
    command = ["convert", path]
    if geometry:
        command += ["-crop", geometry, "+repage"]
    return subprocess.run(command + ["-depth", "8", fmt + ":-"], check=True,
                          capture_output=True).stdout


def size(path):
    out = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                         capture_output=True, text=True).stdout
    w, h = out.split()
    return int(w), int(h)


def distance(a, b):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2]))


def main(argv):
    shot, x, y, w, h, reference = argv[1], int(argv[2]), int(argv[3]), int(argv[4]), int(
        argv[5]), argv[6]
    shot_w, shot_h = size(shot)
    bg_x, bg_y = (int(argv[7]), int(argv[8])) if len(argv) > 8 else (1, shot_h - 2)
    bg = tuple(raw(shot, f"1x1+{bg_x}+{bg_y}", "rgb")[:3])
    if size(reference) != (w, h):
        sys.exit(f"pixels.py: the reference is {size(reference)}, the rectangle {w}x{h}")
    # The part of the rectangle on the screen; the rest counts as background.
    cut = (max(0, min(w, shot_w - x)), max(0, min(h, shot_h - y)))
    pixels = raw(shot, f"{cut[0]}x{cut[1]}+{x}+{y}", "rgb")
    ref = raw(reference, None, "rgba")

    drawn = ref_drawn = dark = ref_dark = matched = soft = soft_blended = 0
    for row in range(h):
        for col in range(w):
            r, g, b, a = ref[4 * (row * w + col):4 * (row * w + col) + 4]
            alpha = a / 255.0
            expected = tuple(round(c * alpha + k * (1 - alpha)) for c, k in zip((r, g, b), bg))
            if col < cut[0] and row < cut[1]:
                i = 3 * (row * cut[0] + col)
                seen = tuple(pixels[i:i + 3])
            else:
                seen = bg
            drawn += distance(seen, bg) > DRAWN
            ref_drawn += distance(expected, bg) > DRAWN
            dark += max(seen) < 48
            ref_dark += max(expected) < 48
            close = distance(seen, expected) <= CLOSE
            matched += close
            if 0.15 < alpha < 0.85 and distance(expected, bg) > DRAWN:
                soft += 1
                soft_blended += close
    print(f"drawn={drawn} ref_drawn={ref_drawn} dark={dark} ref_dark={ref_dark} "
          f"match={1000 * matched // (w * h)} edges={1000 * soft_blended // max(soft, 1)} "
          f"bg={bg[0]:02x}{bg[1]:02x}{bg[2]:02x}")


if __name__ == "__main__":
    main(sys.argv)
