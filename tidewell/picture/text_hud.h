#pragma once
// The text overlay: 8 x 8 cells copied from the font picture into the back
// buffer, fifteen characters to a row from "!" on, and two rows of symbols.
#include "platform/api/display.h"

namespace tidewell {

constexpr int kCellSize = 8;
constexpr int kCellsPerRow = 15;

// Where a character's cell lies in the font picture. Codes below 22 (and
// 128..255, taken as negative) have no cell; 22..32 give a cell left of the
// picture, which the copy refuses.
bool characterCell(char code, platform::Rect* cell);

// Symbol cells of the sequencer info line, chosen by value.
platform::Rect timeSignatureCell(int beatsPerBar);
platform::Rect inputSourceCell(int inputFormat);
platform::Rect behaviourCell(int behaviour);
platform::Rect waveformCell(int waveform);

// Draws text with its first cell's top-left corner at (x, y); every character
// advances 8 pixels. A cell not wholly on the back buffer is not drawn.
void drawText(int x, int y, const char* text);

// The tempo the info line shows: half the field, truncated toward zero, as an
// absolute value (computed in double and clamped, so no tempo overflows).
long shownTempo(float tempo);

void drawSequencerInfo();
void drawHelp();
void drawWavNames();

}  // namespace tidewell
