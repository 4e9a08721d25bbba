#!/usr/bin/env python3
"""Reads a screenshot of the running program and checks the overlay and the
ripple field against the font picture.

check_screen.py FONT SHOT.rgb WIDTH HEIGHT MODE
  MODE "help", "names", "help+names" or "plain": the info line shows, and the
  help panel and the arrows that start the sample names show exactly where
  the mode names them
Exits 1 with the reason, and what it measured, when a check fails.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from picture_box import load, fail, PICTURE_W, PICTURE_H  # noqa: E402

CELL = 8
INK_THRESHOLD = 0.9  # share of text cells that must show their glyph; names may cover a few

HELP_LINES = [
    "Help",
    "----------------------------",
    "F1 Toggle Help",
    "F9 Toggle Sequencer Info",
    "F6 Toggle Wav Names",
    "F2 Step through pattern behaviours",
    "F3 Step through time signatures",
    "F4 Step through pattern arcs",
    "F5 Force Palette change",
    "F7 - F8 Change Tempo",
    "F10 Record",
    "F11 Toggle Link",
    "M MIDI out",
    "ESC Quit Tidewell",
]
INFO_TEXTS = [(10, 290, "Behaviour "), (110, 290, "TimeSig "), (276, 290, "Form ")]


def read_font(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    if bits != 8 or width < 256 or abs(height) < 256:
        fail("font picture is not an 8-bit 256 x 256 bitmap")
    stride = (width + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source_row = y if height < 0 else abs(height) - 1 - y
        start = offset + source_row * stride
        rows.append(data[start:start + width])
    return rows


def glyph_mask(font, code):
    """The cell of a character as 64 booleans (lit or not), or None for no cell."""
    index = code - 33
    if index < 0:
        return None
    column, row = index % 15, index // 15
    return [font[row * CELL + y][column * CELL + x] != 0 for y in range(CELL) for x in range(CELL)]


def cell_colours(shot, x, y, mask):
    """The (ink, paper) colours of the cell at picture (x, y) when its pixels
    follow the glyph's pattern exactly, else None."""
    ink = paper = None
    for i, lit in enumerate(mask):
        colour = shot.picture(x + i % CELL, y + i // CELL)
        if colour is None:
            return None
        if lit:
            ink = ink or colour
            if colour != ink:
                return None
        else:
            paper = paper or colour
            if colour != paper:
                return None
    if ink is not None and ink == paper:
        return None
    return ink, paper


def check_text(shot, font, texts):
    """Counts the text's drawn cells that show their glyph; all matching cells
    must agree on the ink and paper colours."""
    cells = matched = 0
    colours = {}
    for x, y, text in texts:
        for i, ch in enumerate(text):
            mask = glyph_mask(font, ord(ch))
            if mask is None or x + CELL * (i + 1) > PICTURE_W:
                continue
            cells += 1
            found = cell_colours(shot, x + CELL * i, y, mask)
            if found is not None:
                matched += 1
                colours[found] = colours.get(found, 0) + 1
    return cells, matched, colours


def count_glyph(shot, font, ch, skip):
    """Places in the picture, outside the skipped rectangle, where the
    character's cell shows."""
    mask = glyph_mask(font, ord(ch))
    hits = 0
    for y in range(PICTURE_H - CELL + 1):
        for x in range(PICTURE_W - CELL + 1):
            if skip[0] - CELL < x < skip[2] and skip[1] - CELL < y < skip[3]:
                continue
            if cell_colours(shot, x, y, mask) is not None:
                hits += 1
    return hits


def field_colours(shot, region):
    x0, y0, x1, y1 = region
    seen = {}
    for y in range(y0, y1, 2):
        for x in range(x0, x1, 2):
            c = shot.picture(x, y)
            seen[c] = seen.get(c, 0) + 1
    return seen


def main():
    font_path, shot_path, width, height, mode = sys.argv[1:6]
    font = read_font(font_path)
    shot = load(shot_path, width, height)

    help_texts = [(10, 10 + 10 * i, line) for i, line in enumerate(HELP_LINES)]
    cells, matched, colours = check_text(shot, font, help_texts)
    info_cells, info_matched, _ = check_text(shot, font, INFO_TEXTS)
    if info_matched < INK_THRESHOLD * info_cells:
        fail("the info line is not legible at y = 290: %d of %d cells show their glyph" % (info_matched, info_cells))

    # The arrows that start the sample names, looked for outside the help
    # panel (whose cells side by side could mimic one).
    help_panel = (10, 10, 10 + CELL * max(len(line) for line in HELP_LINES), 10 + 10 * len(HELP_LINES))
    arrows = count_glyph(shot, font, ">", help_panel)
    help_seen = "%d of %d help cells show their glyph" % (matched, cells)
    if "help" in mode:
        if matched < INK_THRESHOLD * cells:
            fail("help lines are not legible at their places: " + help_seen)
        if len(colours) > 2:
            fail("help cells disagree on their colours: %s" % colours)
    elif matched > 0.1 * cells:
        fail("help shows although it is off: " + help_seen)
    if "names" in mode and arrows < 1:
        fail("no sample name shows")
    if "names" not in mode and arrows > 0:
        fail("sample names show although they are off: %d arrows" % arrows)

    # The ripple field: the picture right of the help panel and above the info line.
    seen = field_colours(shot, (290, 10, 400, 280))
    commonest = max(seen.values()) / sum(seen.values())
    if len(seen) < 16 or commonest > 0.6:
        fail("the ripple field looks flat: %d colours, the commonest on %.0f %%" % (len(seen), 100 * commonest))


if __name__ == "__main__":
    main()
