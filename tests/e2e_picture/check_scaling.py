#!/usr/bin/env python3
"""Checks where and how crisply the picture lands on a screenshot.

check_scaling.py SHOT.rgb WIDTH HEIGHT BOX_WIDTH BOX_HEIGHT

The box is the bounding rectangle of the non-black pixels; it must be the
expected size within 2 pixels and centred within 2 pixels. Crisp: for a
grid of sampled picture pixels the 2 x 2 screen pixels around the centre of
the pixel's block agree (within 3 levels a channel) in at least 95 % of the
samples, and also among the samples that differ from a neighbour (where a
blurry scaler would blend). Prints what it measured; exits 1 on a failure.
"""
import sys

PICTURE_W, PICTURE_H = 400, 300
TOLERANCE = 3


def fail(reason):
    print("FAIL:", reason)
    sys.exit(1)


def main():
    path, width, height, box_w, box_h = sys.argv[1], *map(int, sys.argv[2:6])
    data = open(path, "rb").read()
    if len(data) != width * height * 3:
        fail("screenshot has %d bytes, not %d" % (len(data), width * height * 3))

    def px(x, y):
        i = (y * width + x) * 3
        return data[i:i + 3]

    lit_columns = [x for x in range(width) if any(any(px(x, y)) for y in range(0, height, 3))]
    lit_rows = [y for y in range(height) if any(any(px(x, y)) for x in range(0, width, 3))]
    if not lit_columns or not lit_rows:
        fail("the screen is black")
    left, right = lit_columns[0], lit_columns[-1] + 1
    top, bottom = lit_rows[0], lit_rows[-1] + 1
    print("box %dx%d at (%d, %d)" % (right - left, bottom - top, left, top))
    if abs(right - left - box_w) > 2 or abs(bottom - top - box_h) > 2:
        fail("the picture is %dx%d, not %dx%d" % (right - left, bottom - top, box_w, box_h))
    if abs(left - (width - right)) > 2 or abs(top - (height - bottom)) > 2:
        fail("the picture is not centred")

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
    print("crisp: %.1f %% of %d sampled pixels, %.1f %% of the %d beside an edge"
          % (100 * share, samples, 100 * edge_share, edges))
    if share < 0.95 or edge_share < 0.95:
        fail("the picture is blurred")
    print("ok")


if __name__ == "__main__":
    main()
