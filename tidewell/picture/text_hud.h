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

// Draws text with its first cell's top-left corner at (x, y); every character
// advances 8 pixels. A cell not wholly on the back buffer is not drawn.
void drawText(int x, int y, const char* text);

// The tempo the info line shows: half the field, truncated toward zero, as an
// absolute value (computed in double and clamped, so no tempo overflows).
long shownTempo(float tempo);

// The layers, each drawn in full when it is on, in this order: sequencer
// info, help, sample names; then the recording mark whatever layers are on.
void drawHud(const PictureContext& context);

void drawSequencerInfo(const PictureContext& context);
void drawHelp();
void drawWavNames(const PictureContext& context);
// Above the info line's end: "Link" and the number of peers, with "!" while
// the session's tempo is beyond the sequencer's, "Link -" without a network;
// nothing while off.
void drawLinkMark(LinkMark mark, int peers);
// "REC" at the top right behind a disc while recording, behind a cross when
// recording failed; nothing when off.
void drawRecordingMark(RecordingState state);

// The help panel's lines, top to bottom.
extern const char* const kHelpLines[];
extern const int kHelpLineCount;

}  // namespace tidewell
