#include "tidewell/picture/text_hud.h"

#include <cstdio>
#include <cstdlib>

#include "tidewell/picture/display_objects.h"

namespace tidewell {
namespace {

platform::Rect cellAt(int column, int row) {
  return {column * kCellSize, row * kCellSize, column * kCellSize + kCellSize,
          row * kCellSize + kCellSize};
}

void drawCell(int x, int y, const platform::Rect& cell) {
  if (!backBuffer || !fontSurface) return;
  backBuffer->bltFast(x, y, fontSurface.get(), &cell, platform::DDBLTFAST_NOCOLORKEY);
}

}  // namespace

bool characterCell(char code, platform::Rect* cell) {
  const int k = static_cast<signed char>(code);
  if (k < 22) return false;
  int column = k - 33;
  int row = 0;
  while (column > 14) {
    column -= kCellsPerRow;
    ++row;
  }
  *cell = cellAt(column, row);
  return true;
}

platform::Rect timeSignatureCell(int beatsPerBar) { return cellAt(beatsPerBar, 7); }
platform::Rect inputSourceCell(int inputFormat) { return cellAt(8 + inputFormat, 7); }
platform::Rect behaviourCell(int behaviour) { return cellAt(4 + behaviour, 8); }
platform::Rect waveformCell(int waveform) { return cellAt(waveform, 8); }

void drawText(int x, int y, const char* text) {
  if (text == nullptr) return;
  for (int i = 0; text[i] != '\0'; ++i) {
    platform::Rect cell;
    if (characterCell(text[i], &cell)) drawCell(x + kCellSize * i, y, cell);
  }
}

}  // namespace tidewell
