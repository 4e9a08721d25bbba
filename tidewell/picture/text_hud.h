#pragma once
// The text overlay: 8 x 8 cells copied from the font picture into the back
// buffer, fifteen characters to a row from "!" on, and two rows of symbols.
#include "platform/api/display.h"
#include "tidewell/picture/picture_context.h"

namespace tidewell {

constexpr int kCellSize = 8;
constexpr int kCellsPerRow = 15;

// Where a character's cell lies in the font picture. Codes below 22 (and
// 128..255, taken as negative) have no cell; 22..32 give a cell left of the
// picture, which the copy refuses.
bool characterCell(char code, platform::Rect* cell);

// Symbol cells of the sequencer info line, chosen by value: each value has a
// cell of its own (time signature 8 and input source 0, waveform 5 and
// behaviour 1 no longer share one); a value outside its range gets the
// blank cell.
platform::Rect timeSignatureCell(int beatsPerBar);
platform::Rect inputSourceCell(int inputFormat);
platform::Rect behaviourCell(int behaviour);
platform::Rect waveformCell(int waveform);
platform::Rect recordingCell(RecordingState state);  // the blank cell when off
platform::Rect blankSymbolCell();

// The tempo the info line shows: half the field, truncated toward zero, as an
// absolute value (computed in double and clamped, so no tempo overflows).
long shownTempo(float tempo);

// The help panel's lines, top to bottom.
extern const char* const kHelpLines[];
extern const int kHelpLineCount;

}  // namespace tidewell
