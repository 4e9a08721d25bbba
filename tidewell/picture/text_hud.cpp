#include "tidewell/picture/text_hud.h"

#include <cstdio>
#include <cstdlib>

#include "tidewell/picture/picture.h"

namespace tidewell {
namespace {

platform::Rect cellAt(int column, int row) {
  return {column * kCellSize, row * kCellSize, column * kCellSize + kCellSize,
          row * kCellSize + kCellSize};
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

platform::Rect blankSymbolCell() { return cellAt(0, 8); }

platform::Rect timeSignatureCell(int beatsPerBar) {
  return beatsPerBar >= 1 && beatsPerBar <= 8 ? cellAt(beatsPerBar, 7) : blankSymbolCell();
}

platform::Rect inputSourceCell(int inputFormat) {
  if (inputFormat == 0) return cellAt(18, 7);  // column 8 is the time signature 8's
  return inputFormat >= 1 && inputFormat <= 9 ? cellAt(8 + inputFormat, 7) : blankSymbolCell();
}

platform::Rect behaviourCell(int behaviour) {
  return behaviour >= 1 && behaviour <= 5 ? cellAt(4 + behaviour, 8) : blankSymbolCell();
}

platform::Rect waveformCell(int waveform) {
  if (waveform == 5) return cellAt(10, 8);  // column 5 is "Random"'s
  return waveform >= 1 && waveform <= 4 ? cellAt(waveform, 8) : blankSymbolCell();
}

platform::Rect recordingCell(RecordingState state) {
  switch (state) {
    case RecordingState::recording:
      return cellAt(11, 8);
    case RecordingState::failed:
      return cellAt(12, 8);
    case RecordingState::off:
      break;
  }
  return blankSymbolCell();
}

void Picture::drawCell(int x, int y, const platform::Rect& cell) {
  if (!backBuffer || !fontSurface) return;
  backBuffer->bltFast(x, y, fontSurface.get(), &cell, platform::DDBLTFAST_NOCOLORKEY);
}

void Picture::drawText(int x, int y, const char* text) {
  if (text == nullptr) return;
  for (int i = 0; text[i] != '\0'; ++i) {
    platform::Rect cell;
    if (characterCell(text[i], &cell)) drawCell(x + kCellSize * i, y, cell);
  }
}

}  // namespace tidewell
