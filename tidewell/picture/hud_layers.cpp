// The overlay's layers, each drawn in full every frame from the context its
// caller hands in.
#include <cmath>
#include <cstdio>

#include "tidewell/picture/picture.h"
#include "tidewell/picture/text_hud.h"

namespace tidewell {
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
