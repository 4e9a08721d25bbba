#!/usr/bin/env python3
"""Finds the 400 x 300 picture on a screenshot, whatever the scaling mode: the
bounding rectangle of the lit (not black) screen pixels, which must have the
picture's 4:3 shape within 2 screen pixels. Every end-to-end check that reads
pixels goes through here.

  picture_box.py SHOT.rgb WIDTH HEIGHT      prints "LEFT TOP WIDTH HEIGHT"
  picture_box.py SHOT.rgb WIDTH HEIGHT --mask X Y W H
      prints 1 (lit) or 0 (black) for picture pixels X..X+W-1, Y..Y+H-1, row
      by row, read at the centre of each pixel's block
Exits 1 when there is no 4:3 box.
"""
import sys

PICTURE_W, PICTURE_H = 400, 300


class NoBox(Exception):
    pass


class PictureBox:
    """A screenshot (24-bit RGB rows) and the picture found on it."""

    def __init__(self, data, width, height):
        if len(data) != width * height * 3:
            raise NoBox("screenshot has %d bytes, not %d" % (len(data), width * height * 3))
        self.data, self.width, self.height = data, width, height
        left, right, top, bottom = width, 0, None, None
        stride = width * 3
        for y in range(height):
            row = data[y * stride:(y + 1) * stride]
            lit = row.lstrip(b"\0")
            if not lit:
                continue
            top = y if top is None else top
            bottom = y + 1
            left = min(left, (stride - len(lit)) // 3)
            right = max(right, (len(row.rstrip(b"\0")) + 2) // 3)
        if top is None:
            raise NoBox("the screen is black")
        self.left, self.top = left, top
        self.box_w, self.box_h = right - left, bottom - top
        if abs(self.box_w * PICTURE_H - self.box_h * PICTURE_W) > 2 * PICTURE_W:
            raise NoBox("the lit area %dx%d at (%d, %d) is not the picture's 4:3 shape"
                        % (self.box_w, self.box_h, left, top))
        self.xfactor = self.box_w / PICTURE_W
        self.yfactor = self.box_h / PICTURE_H

    def screen(self, x, y):
        i = (y * self.width + x) * 3
        return self.data[i:i + 3]

    def block_centre(self, x, y):
        """The screen pixel at the centre of picture pixel (x, y)'s block."""
        return (self.left + int((x + 0.5) * self.xfactor), self.top + int((y + 0.5) * self.yfactor))

    def picture(self, x, y):
        """The colour of picture pixel (x, y): sharp scaling keeps the centre
        of its block unblended."""
        return self.screen(*self.block_centre(x, y))


def fail(reason):
    print("FAIL:", reason)
    sys.exit(1)


def load(path, width, height):
    """The picture on the shot, or a failure that says why there is none."""
    try:
        return PictureBox(open(path, "rb").read(), int(width), int(height))
    except NoBox as e:
        fail("no picture box: %s" % e)


def main():
    box = load(*sys.argv[1:4])
    if sys.argv[4:5] == ["--mask"]:
        x0, y0, w, h = map(int, sys.argv[5:9])
        print("".join("0" if box.picture(x, y) == b"\0\0\0" else "1"
                      for y in range(y0, y0 + h) for x in range(x0, x0 + w)))
    else:
        print(box.left, box.top, box.box_w, box.box_h)


if __name__ == "__main__":
    main()
