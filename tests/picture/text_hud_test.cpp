#include <gtest/gtest.h>

#include "platform/api/memory_surface.h"
#include "tidewell/picture/picture.h"
#include "tidewell/picture/text_hud.h"
#include "tools/font/symbols.h"

#include <string>
#include <utility>

namespace tidewell {
namespace {

// A font picture whose every pixel names its cell: column + 32 * row + 1
// (modulo 256), and the second pixel of each cell 200 + its row, so that
// cells of rows 8 and on can be told from those of rows 0 and on.
class TextHudTest : public ::testing::Test, public Picture {
 protected:
  void SetUp() override {
    auto font = std::make_shared<platform::MemorySurface>(256, 256);
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) font->pixels()[y * 256 + x] = cellMark(x / 8, y / 8);
    }
    for (int row = 0; row < 32; ++row) {
      for (int column = 0; column < 32; ++column) {
        font->pixels()[row * 8 * 256 + column * 8 + 1] = static_cast<std::uint8_t>(200 + row);
      }
    }
    back_ = std::make_shared<platform::MemorySurface>(400, 300);
    std::fill(back_->pixels(), back_->pixels() + 400 * 300, kGround);
    fontSurface = font;
    backBuffer = back_;
  }
  static std::uint8_t cellMark(int column, int row) {
    return static_cast<std::uint8_t>(column + 32 * row + 1);
  }
  static constexpr std::uint8_t kGround = 0;

  // The font cell (column, row) drawn with its corner at (x, y); (-1, -1)
  // where the picture shows.
  std::pair<int, int> cellShownAt(int x, int y) const {
    const int rowMark = back_->pixel(x + 1, y);
    if (back_->pixel(x, y) == kGround && rowMark == kGround) return {-1, -1};
    const int row = rowMark - 200;
    return {(back_->pixel(x, y) - 1 - 32 * row) & 0xFF, row};
  }
  static std::pair<int, int> cellOf(const platform::Rect& r) { return {r.left / 8, r.top / 8}; }

  // The text of `length` cells from (x, y): each cell read back as its
  // character, a space where the picture shows.
  std::string textShownAt(int x, int y, int length) const {
    std::string text;
    for (int i = 0; i < length; ++i) {
      const auto [column, row] = cellShownAt(x + 8 * i, y);
      text += column < 0 ? ' ' : static_cast<char>(33 + 15 * row + column);
    }
    return text;
  }

  // The overlay alone, on a clean picture.
  void drawOnly(const PictureContext& context) {
    std::fill(back_->pixels(), back_->pixels() + 400 * 300, kGround);
    drawHud(context);
  }

  std::shared_ptr<platform::MemorySurface> back_;
};

// Each character from its cell ("!" column 0 row 0, "0" column 0 row 1, "A"
// column 2 row 2); spaces, control and high codes leave the picture but
// advance; text over an edge is cut at a whole cell.
TEST_F(TextHudTest, CharactersComeFromTheirCellsAndOthersLeaveThePicture) {
  drawText(0, 0, "!0A");
  EXPECT_EQ(back_->pixel(7, 7), cellMark(0, 0));
  EXPECT_EQ(textShownAt(0, 0, 4), "!0A ");
  const char text[] = {'A', ' ', '\x05', static_cast<char>(0xC9), 'A', 0};
  drawText(100, 50, text);
  EXPECT_EQ(textShownAt(100, 50, 5), "A   A");
  drawText(380, 10, "AAAA");  // cells at 380, 388 fit; 396 would end at 404
  EXPECT_EQ(textShownAt(380, 10, 2), "AA");
  for (int x = 396; x < 400; ++x) EXPECT_EQ(back_->pixel(x, 10), kGround);
  drawText(0, 295, "A");  // would end at row 303
  EXPECT_EQ(back_->pixel(0, 299), kGround);
  drawText(-4, 20, "A");
  EXPECT_EQ(back_->pixel(0, 20), kGround);
}

// The info line: its texts (each ending in a space before its symbol), and
// each value in its own symbol cell; the tempo shown is half the field,
// truncated.
TEST_F(TextHudTest, InfoLineShowsTextsTempoTracksAndTheValuesSymbols) {
  struct Case {
    int behaviour, beatsPerBar;
    float tempo;
    int waveform, inputFormat, tracks;
    const char* tempoText;
    const char* tracksText;
  } cases[] = {
      {3, 8, 900.0f, 1, 1, 4, "Tempo 450", "Tracks 4"},
      {1, 4, 901.0f, 5, 0, 8, "Tempo 450", "Tracks 8"},
      {2, 1, 60.0f, 3, 2, 1, "Tempo 30 ", "Tracks 1"},
  };
  for (const Case& c : cases) {
    PictureContext context;
    context.showSequencerInfo = true;
    context.behaviour = c.behaviour;
    context.beatsPerBar = c.beatsPerBar;
    context.tempo = c.tempo;
    context.waveform = c.waveform;
    context.inputFormat = c.inputFormat;
    context.activeTrackCount = c.tracks;
    drawOnly(context);
    EXPECT_EQ(textShownAt(10, 290, 10), "Behaviour ");
    EXPECT_EQ(textShownAt(110, 290, 8), "TimeSig ");
    EXPECT_EQ(textShownAt(192, 290, 9), c.tempoText);
    EXPECT_EQ(textShownAt(276, 290, 5), "Form ");
    EXPECT_EQ(textShownAt(330, 290, 8), c.tracksText);
    EXPECT_EQ(cellShownAt(90, 290), cellOf(behaviourCell(c.behaviour)));
    EXPECT_EQ(cellShownAt(174, 290), cellOf(timeSignatureCell(c.beatsPerBar)));
    EXPECT_EQ(cellShownAt(316, 290), cellOf(waveformCell(c.waveform)));
    EXPECT_EQ(cellShownAt(0, 0), cellOf(inputSourceCell(c.inputFormat)));
  }
}

// Every value of every symbol has the cell in which the font picture draws
// its pictogram; values outside their range show the blank cell, which holds
// no pictogram.
TEST(SymbolCells, EachValueHasTheCellOfItsPictogram) {
  using tools::SymbolKind;
  auto cellFor = [](SymbolKind kind, int value) {
    switch (kind) {
      case SymbolKind::timeSignature:
        return timeSignatureCell(value);
      case SymbolKind::inputSource:
        return inputSourceCell(value);
      case SymbolKind::behaviour:
        return behaviourCell(value);
      case SymbolKind::waveform:
        return waveformCell(value);
      case SymbolKind::recording:
        break;
    }
    return recordingCell(static_cast<RecordingState>(value));
  };
  int pictograms = 0;
  for (const tools::Pictogram& p : tools::kPictograms) {
    const platform::Rect cell = cellFor(p.kind, p.value);
    EXPECT_EQ(cell.left, p.column * 8) << static_cast<int>(p.kind) << " " << p.value;
    EXPECT_EQ(cell.top, p.row * 8) << static_cast<int>(p.kind) << " " << p.value;
    EXPECT_FALSE(p.column * 8 == blankSymbolCell().left && p.row * 8 == blankSymbolCell().top);
    ++pictograms;
  }
  // Time signatures 1..8, input sources 0..9, behaviours 1..5, waveforms
  // 1..5 and the two recording marks.
  EXPECT_EQ(pictograms, 8 + 10 + 5 + 5 + 2);
  for (const int outside : {-1, 0, 9, 100}) {
    EXPECT_EQ(timeSignatureCell(outside).left, blankSymbolCell().left);
  }
  for (const int outside : {-1, 10}) EXPECT_EQ(inputSourceCell(outside).top, blankSymbolCell().top);
  for (const int outside : {0, 6}) {
    EXPECT_EQ(behaviourCell(outside).left, blankSymbolCell().left);
    EXPECT_EQ(waveformCell(outside).left, blankSymbolCell().left);
  }
  EXPECT_EQ(recordingCell(RecordingState::off).left, blankSymbolCell().left);
}

TEST_F(TextHudTest, RecordingMarkShowsWhateverLayersAreOn) {
  for (const bool layersOn : {false, true}) {
    for (const RecordingState state :
         {RecordingState::off, RecordingState::recording, RecordingState::failed}) {
      PictureContext context;
      context.showSequencerInfo = context.showHelp = context.showWavNames = layersOn;
      context.recording = state;
      drawOnly(context);
      if (state == RecordingState::off) {
        EXPECT_EQ(textShownAt(360, 4, 4), "    ");
      } else {
        EXPECT_EQ(cellShownAt(360, 4), cellOf(recordingCell(state)));
        EXPECT_EQ(textShownAt(368, 4, 3), "REC");
      }
      EXPECT_EQ(textShownAt(10, 290, 4), layersOn ? "Beha" : "    ");
    }
  }
}

// MIDI out's mark sits left of the info line; Link's (peers, the clamp, no
// network) above its right end.
TEST_F(TextHudTest, MidiAndLinkMarksBesideTheInfoLine) {
  const struct {
    MidiMark midi;
    LinkMark link;
    const char* midiShown;
    const char* linkShown;
  } cases[] = {{MidiMark::off, LinkMark::off, " ", "       "},
               {MidiMark::waiting, LinkMark::on, "m", "Link 2 "},
               {MidiMark::on, LinkMark::clamped, "M", "Link 2!"},
               {MidiMark::off, LinkMark::unavailable, " ", "Link - "}};
  for (const auto& c : cases) {
    PictureContext context;
    context.showSequencerInfo = true;
    context.midiOut = c.midi;
    context.link = c.link;
    context.linkPeers = 2;
    drawOnly(context);
    EXPECT_EQ(textShownAt(0, 290, 1), c.midiShown);
    EXPECT_EQ(textShownAt(330, 280, 7), c.linkShown);
    EXPECT_EQ(textShownAt(10, 290, 4), "Beha");
  }
}

TEST_F(TextHudTest, HelpPanelGainsOnlyTheRecordLinkAndMidiLines) {
  const char* const expected[] = {
      "Help", "----------------------------", "F1 Toggle Help", "F9 Toggle Sequencer Info",
      "F6 Toggle Wav Names", "F2 Step through pattern behaviours",
      "F3 Step through time signatures", "F4 Step through pattern arcs",
      "F5 Force Palette change", "F7 - F8 Change Tempo", "F10 Record", "F11 Toggle Link", "M MIDI out", "ESC Quit Tidewell"};
  ASSERT_EQ(kHelpLineCount, static_cast<int>(std::size(expected)));
  PictureContext context;
  context.showHelp = true;
  drawHud(context);
  for (int i = 0; i < kHelpLineCount; ++i) {
    EXPECT_STREQ(kHelpLines[i], expected[i]);
    const std::string line = expected[i];
    EXPECT_EQ(textShownAt(10, 10 + 10 * i, static_cast<int>(line.size())), line);
  }
}

TEST_F(TextHudTest, SampleNamesFollowTheirTracksWhole) {
  const std::string longName(60, 'n');
  PictureContext context;
  context.showWavNames = true;
  context.activeTrackCount = 2;
  context.labels[0] = {"demo1/kick.wav", 20, 40};
  context.labels[1] = {longName.c_str(), 0, 100};
  context.labels[2] = {"not active", 0, 200};
  drawHud(context);
  EXPECT_EQ(textShownAt(20, 40, 16), ">demo1/kick.wav ");
  EXPECT_EQ(textShownAt(0, 100, 50), ">" + std::string(49, 'n'));  // cut at the edge
  EXPECT_EQ(textShownAt(0, 200, 4), "    ");
}

// Values the info line never meets, kept in range.
TEST(ShownTempo, HalfTheTempoTruncated) {
  EXPECT_EQ(shownTempo(-61.0f), 30);
  EXPECT_EQ(shownTempo(1e30f), 2000000000L);
}

}  // namespace
}  // namespace tidewell
