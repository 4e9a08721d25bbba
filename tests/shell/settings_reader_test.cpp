#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

#include "tests/support/scratch_folder.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell {
namespace {

using testing_support::kWorkInside;
using testing_support::ScratchFolder;

// What the reader leaves in a fresh sequencer, field by field.
struct Read {
  int inputFormat, beatsPerBar, timeSignatureMutation, behaviour, behaviourMutation, waveform, waveformMutation,
      tracks;
  float tempo;
  std::string folder;
  bool operator==(const Read&) const = default;
  friend std::ostream& operator<<(std::ostream& o, const Read& r) {
    return o << r.inputFormat << ',' << r.beatsPerBar << ',' << r.timeSignatureMutation << ',' << r.behaviour << ','
             << r.behaviourMutation << ',' << r.waveform << ',' << r.waveformMutation << ", tracks " << r.tracks
             << ", tempo " << r.tempo << ", folder \"" << r.folder << '"';
  }
};

Read readInto(Sequencer& s, const std::string& content) {
  std::ofstream("data/settings.txt", std::ios::binary) << content;
  readSettings("data/settings.txt", s);
  return {s.inputFormat, s.beatsPerBar, s.timeSignatureMutation, s.behaviour, s.behaviourMutation, s.waveform,
          s.waveformMutation, s.activeTrackCount, s.tempo, s.folder};
}

// The file's character tables, the demos' presets and the reader's quirks:
// white space is invisible, any character separates, a two-digit field
// shifts every later one, a character outside a table leaves the default.
TEST(SettingsReader, FilesReadAsTheTablesSay) {
  const struct {
    std::string content;
    Read expected;
  } cases[] = {
      {"1,0,0,0,0,0,0,2,2,demo1,currently disabled,", {1, 4, 0, 1, 0, 1, 0, 3, 600, "demo1/"}},
      {"1,7,0,2,0,0,0,3,3,demo1,none,", {1, 8, 0, 3, 0, 1, 0, 4, 700, "demo1/"}},  // "7" is outside the table
      {"1,0,1,0,0,0,0,2,0,demo2,none,", {1, 4, 15, 1, 0, 1, 0, 3, 60, "demo2/"}},
      {"1,5,0,2,0,0,0,5,3,demo3,none,", {1, 8, 0, 3, 0, 1, 0, 6, 700, "demo3/"}},
      {"1,5,1,0,1,0,0,3,3,demo4,none,", {1, 8, 15, 1, 15, 1, 0, 4, 700, "demo4/"}},
      {"2,4,4,2,3,1,2,7,4,demo1,currently disabled,", {2, 8, 100, 3, 50, 2, 25, 8, 1000, "demo1/"}},
      {"1,0,0,0,0,0,0,2,1,demo1,none,", {1, 4, 0, 1, 0, 1, 0, 3, 250, "demo1/"}},
      {" 1;\t0 |0\r\n,0,0 ,0\n,0,2x2 , my demo folder ,ignored,", {1, 4, 0, 1, 0, 1, 0, 3, 600, "mydemofolder/"}},
      {"1,0,0,0,0,0,0,2,2,,none,", {1, 4, 0, 1, 0, 1, 0, 3, 600, "/"}},
      {"1,0,0,0,0,0,0,2,7,demo1,none,", {1, 4, 0, 1, 0, 1, 0, 3, 900, "demo1/"}},
      {"1,0,0,0,0,0,0,12,2,demo1,none,", {1, 4, 0, 1, 0, 1, 0, 2, 900, "/"}},  // "," is no tempo
      {"1,0,0,0,0,0,0,2,2," + std::string(300, 'f') + ",none,",
       {1, 4, 0, 1, 0, 1, 0, 3, 600, std::string(126, 'f') + "/"}},
      {std::string("1,0,0,0,0,0,0,2,2,demo\0x1,none,", 31), {1, 4, 0, 1, 0, 1, 0, 3, 600, "demo/"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content.c_str());
    ScratchFolder dir{kWorkInside, {"data"}};
    Sequencer s(nullptr, SequencerServices{});
    s.beatInterval = 1.0f;  // out of step, so that the recomputation shows
    const Read r = readInto(s, c.content);
    EXPECT_EQ(r, c.expected);  // the tempos are whole numbers: exact in a float
    EXPECT_NEAR(s.beatInterval, 60000.0f / c.expected.tempo, 1e-3f);  // a beat every 60000 / tempo ms
  }
}

TEST(SettingsReader, MissingFileChangesNothing) {
  ScratchFolder dir{kWorkInside, {"data"}};
  Sequencer s(nullptr, SequencerServices{});
  readSettings("data/settings.txt", s);
  EXPECT_EQ(s.activeTrackCount, 4);
  EXPECT_EQ(s.behaviour, 3);
  EXPECT_STREQ(s.folder, "");
}

// A file cut short anywhere reads the fields it holds and leaves the rest.
TEST(SettingsReader, FileCutShortAtEveryLength) {
  ScratchFolder dir{kWorkInside, {"data"}};
  const std::string full = "2,1,1,1,1,1,1,6,0,somewhere,none,";
  for (std::size_t length = 0; length <= full.size(); ++length) {
    SCOPED_TRACE(length);
    Sequencer s(nullptr, SequencerServices{});
    const Read r = readInto(s, full.substr(0, length));
    EXPECT_EQ(r.inputFormat, length >= 1 ? 2 : 1);
    EXPECT_EQ(r.beatsPerBar, length >= 3 ? 5 : 8);
    EXPECT_EQ(r.tracks, length >= 15 ? 7 : 4);
    EXPECT_FLOAT_EQ(r.tempo, length >= 17 ? 60.0f : 900.0f);
    EXPECT_NEAR(s.beatInterval, 60000.0f / r.tempo, 1e-3f);
    const std::string typed = length <= 18 ? "" : full.substr(18, std::min<std::size_t>(length - 18, 9));
    EXPECT_EQ(r.folder, length <= 17 ? "" : typed + "/");
  }
}

}  // namespace
}  // namespace tidewell
