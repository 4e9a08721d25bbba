#!/usr/bin/env python3
"""Checks where and how crisply the picture lands on a screenshot.

check_scaling.py SHOT.rgb WIDTH HEIGHT BOX_WIDTH BOX_HEIGHT

The box (found as picture_box.py finds it) must be the expected size within
2 pixels and centred within 2 pixels. Crisp: for a
grid of sampled picture pixels the 2 x 2 screen pixels around the centre of
the pixel's block agree (within 3 levels a channel) in at least 95 % of the
samples, and also among the samples that differ from a neighbour (where a
blurry scaler would blend). Exits 1 with what it measured on a failure.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from picture_box import load, fail, PICTURE_W, PICTURE_H  # noqa: E402

TOLERANCE = 3


def main():
    path, width, height, box_w, box_h = sys.argv[1], *map(int, sys.argv[2:6])
    shot = load(path, width, height)
    px = shot.screen
    left, top = shot.left, shot.top
    right, bottom = left + shot.box_w, top + shot.box_h
    if abs(right - left - box_w) > 2 or abs(bottom - top - box_h) > 2:
        fail("the picture is %dx%d, not %dx%d" % (right - left, bottom - top, box_w, box_h))
    if abs(left - (width - right)) > 2 or abs(top - (height - bottom)) > 2:
        fail("the picture %dx%d at (%d, %d) is not centred" % (right - left, bottom - top, left, top))

    sx, sy = (right - left) / PICTURE_W, (bottom - top) / PICTURE_H

    def near(a, b):
        return all(abs(p - q) <= TOLERANCE for p, q in zip(a, b))

    def centre(x, y):
        cx = int(left + (x + 0.5) * sx - 0.5)
        cy = int(top + (y + 0.5) * sy - 0.5)
        return [px(cx + dx, cy + dy) for dy in (0, 1) for dx in (0, 1)]

    samples = agree = edges = edges_agree = 0
    for y in range(1, PICTURE_H - 1, 3):
        for x in range(1, PICTURE_W - 1, 3):
            block = centre(x, y)
            ok = all(near(block[0], c) for c in block[1:])
            samples += 1
            agree += ok
            if not near(block[0], centre(x + 1, y)[0]) or not near(block[0], centre(x, y + 1)[0]):
                edges += 1
                edges_agree += ok
    share = agree / samples
    edge_share = edges_agree / edges if edges else 1.0
    if share < 0.95 or edge_share < 0.95:
        fail("the picture is blurred: %.1f %% of %d sampled pixels are crisp, %.1f %% of the %d beside an edge"
             % (100 * share, samples, 100 * edge_share, edges))


if __name__ == "__main__":
    main()
