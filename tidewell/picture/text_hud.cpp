// The text overlay: cells of the font picture, text, and the layers drawn
// in full every frame from the context the caller hands in.
#include "tidewell/picture/text_hud.h"

#include <cmath>
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

namespace {

constexpr int kInfoLine = 290;
constexpr int kRecordingMarkX = 360;  // disc, then "REC" ending 8 pixels from the right
constexpr int kRecordingMarkY = 4;
constexpr int kLinkMarkX = 330;  // over "Tracks"
constexpr int kLinkMarkY = kInfoLine - 10;

}  // namespace

const char* const kHelpLines[] = {
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
};
const int kHelpLineCount = sizeof kHelpLines / sizeof kHelpLines[0];

long shownTempo(float tempo) {
  const double half = std::fabs(std::trunc(static_cast<double>(tempo) / 2.0));
  if (!(half < 2.0e9)) return 2000000000L;
  return static_cast<long>(half);
}

void Picture::drawSequencerInfo(const PictureContext& context) {
  char text[32];
  drawText(10, kInfoLine, "Behaviour ");
  drawCell(90, kInfoLine, behaviourCell(context.behaviour));
  drawText(110, kInfoLine, "TimeSig ");
  drawCell(174, kInfoLine, timeSignatureCell(context.beatsPerBar));
  std::snprintf(text, sizeof text, "Tempo %ld", shownTempo(context.tempo));
  drawText(192, kInfoLine, text);
  drawText(276, kInfoLine, "Form ");
  drawCell(316, kInfoLine, waveformCell(context.waveform));
  std::snprintf(text, sizeof text, "Tracks %d", context.activeTrackCount);
  drawText(330, kInfoLine, text);
  drawCell(0, 0, inputSourceCell(context.inputFormat));
  // MIDI out, left of "Behaviour": "M" with a port open, "m" while it waits for one.
  if (context.midiOut == MidiMark::on) drawText(0, kInfoLine, "M");
  if (context.midiOut == MidiMark::waiting) drawText(0, kInfoLine, "m");
  drawLinkMark(context.link, context.linkPeers);
}

void Picture::drawLinkMark(LinkMark mark, int peers) {
  char text[24];
  switch (mark) {
    case LinkMark::off: return;
    case LinkMark::on: std::snprintf(text, sizeof text, "Link %d", peers); break;
    case LinkMark::clamped: std::snprintf(text, sizeof text, "Link %d!", peers); break;
    case LinkMark::unavailable: std::snprintf(text, sizeof text, "Link -"); break;
  }
  drawText(kLinkMarkX, kLinkMarkY, text);
}

void Picture::drawHelp() {
  int y = 10;
  for (int i = 0; i < kHelpLineCount; ++i) {
    drawText(10, y, kHelpLines[i]);
    y += 10;
  }
}

void Picture::drawWavNames(const PictureContext& context) {
  const int count = context.activeTrackCount < kMaxTrackLabels ? context.activeTrackCount
                                                                : kMaxTrackLabels;
  for (int i = 0; i < count; ++i) {
    const TrackLabel& track = context.labels[i];
    if (track.name == nullptr) continue;
    // ">" and then the whole name, without copying it into a label.
    drawText(track.x, track.y, ">");
    drawText(track.x + kCellSize, track.y, track.name);
  }
}

void Picture::drawRecordingMark(RecordingState state) {
  if (state == RecordingState::off) return;
  drawCell(kRecordingMarkX, kRecordingMarkY, recordingCell(state));
  drawText(kRecordingMarkX + 8, kRecordingMarkY, "REC");
}

void Picture::drawHud(const PictureContext& context) {
  if (context.showSequencerInfo) drawSequencerInfo(context);
  if (context.showHelp) drawHelp();
  if (context.showWavNames) drawWavNames(context);
  drawRecordingMark(context.recording);
}

}  // namespace tidewell
