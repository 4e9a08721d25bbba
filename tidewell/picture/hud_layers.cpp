// The three overlay layers, each drawn in full every frame.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tidewell/picture/display_objects.h"
#include "tidewell/picture/text_hud.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"

namespace tidewell {
namespace {

constexpr int kInfoLine = 290;

void drawSymbol(int x, int y, const platform::Rect& cell) {
  if (!backBuffer || !fontSurface) return;
  backBuffer->bltFast(x, y, fontSurface.get(), &cell, platform::DDBLTFAST_NOCOLORKEY);
}

}  // namespace

long shownTempo(float tempo) {
  const double half = std::fabs(std::trunc(static_cast<double>(tempo) / 2.0));
  if (!(half < 2.0e9)) return 2000000000L;
  return static_cast<long>(half);
}

void drawSequencerInfo() {
  if (sequencer == nullptr) return;
  char text[32];
  drawText(10, kInfoLine, "Behaviour ");
  drawSymbol(90, kInfoLine, behaviourCell(sequencer->behaviour));
  drawText(110, kInfoLine, "TimeSig ");
  drawSymbol(174, kInfoLine, timeSignatureCell(sequencer->beatsPerBar));
  std::snprintf(text, sizeof text, "Tempo %ld", shownTempo(sequencer->tempo));
  drawText(192, kInfoLine, text);
  drawText(276, kInfoLine, "Form ");
  drawSymbol(316, kInfoLine, waveformCell(sequencer->waveform));
  std::snprintf(text, sizeof text, "Tracks %d", static_cast<int>(sequencer->activeTrackCount));
  drawText(330, kInfoLine, text);
  drawSymbol(0, 0, inputSourceCell(sequencer->inputFormat));
}

void drawHelp() {
  static const char* const lines[] = {
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
      "ESC Quit Tidewell",
  };
  int y = 10;
  for (const char* line : lines) {
    drawText(10, y, line);
    y += 10;
  }
}

void drawWavNames() {
  if (sequencer == nullptr) return;
  // Room for ">" and the longest name a track can hold.
  char label[kSampleNameSize + 1];
  const int count = sequencer->activeTrackCount < kTrackCount ? sequencer->activeTrackCount
                                                               : kTrackCount;
  for (int i = 0; i < count; ++i) {
    const Track& track = sequencer->tracks[i];
    std::snprintf(label, sizeof label, ">%.*s", kSampleNameSize - 1, track.sampleName);
    drawText(track.plotX, track.plotY, label);
  }
}

}  // namespace tidewell
