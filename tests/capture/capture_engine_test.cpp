#include "launcher/capture_engine.h"

#include <gtest/gtest.h>

#include "launcher/capture_formats.h"
#include "platform/capture/auto_reset_event.h"
#include "platform/fake/scripted_capture.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

using testing_support::readAll;
using testing_support::u32At;

class CaptureEngineTest : public ::testing::Test {
 protected:
  CaptureEngineTest() : engine(&capture, &notify, &stopped) {
    engine.setDebugOutput([this](const char* line) { debugLines.emplace_back(line); });
    engine.setStatusSink([this](const std::string& text) { status.push_back(text); });
    EXPECT_EQ(engine.initCaptureEngine(), 0);
  }
  platform::WaveFormatEx formatOf(int index) {
    platform::WaveFormatEx f{};
    f.formatTag = platform::WAVE_FORMAT_PCM;
    formatFromIndex(index, &f);
    return f;
  }
  std::vector<std::uint8_t> counting(std::uint32_t count, std::uint32_t from) {
    std::vector<std::uint8_t> bytes(count);
    for (std::uint32_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>((from + i) * 7);
    return bytes;
  }

  testing_support::ScratchFolder dir{testing_support::kWorkInside, {"data", "autoaudio"}};
  platform::fake::ScriptedCaptureSystem capture;
  platform::AutoResetEvent notify;
  platform::AutoResetEvent stopped;
  CaptureEngine engine;
  std::vector<std::string> debugLines;
  std::vector<std::string> status;
};

TEST_F(CaptureEngineTest, RingSizesFollowTheNotificationRule) {
  struct Case { int index; std::uint32_t notify, ring; };
  for (Case c : {Case{0, 1024, 16384}, Case{4, 1378, 22048}, Case{1, 2000, 32000},
                 Case{15, 22048, 352768}, Case{7, 5512, 88192}}) {
    ASSERT_EQ(engine.createCaptureBuffer(formatOf(c.index)), 0);
    EXPECT_EQ(engine.notifySize(), c.notify) << c.index;
    EXPECT_EQ(engine.captureBufferSize(), c.ring) << c.index;
    EXPECT_EQ(engine.notifyPosition(0).offset, c.notify - 1);
    EXPECT_EQ(engine.notifyPosition(15).offset, c.ring - 1);
    EXPECT_EQ(engine.notifyPosition(16).offset, platform::DSBPN_OFFSETSTOP);
    EXPECT_EQ(engine.notifyPosition(16).event, &stopped);
  }
}

TEST_F(CaptureEngineTest, DrainAcrossTheRingEndCopiesBothRegionsInOrder) {
  ASSERT_EQ(engine.createCaptureBuffer(formatOf(1)), 0);  // 2000 / 32000
  engine.openCaptureFile("autoaudio/0.wav");
  ASSERT_EQ(engine.startCapture(), 0);
  capture.feed(counting(30000, 0));
  ASSERT_EQ(engine.drainCapture(), 0);
  EXPECT_EQ(engine.nextCaptureOffset(), 30000u);
  capture.feed(counting(4000, 30000));  // read position now 2000
  ASSERT_EQ(engine.drainCapture(), 0);
  EXPECT_EQ(engine.nextCaptureOffset(), 2000u);
  ASSERT_EQ(debugLines.size(), 2u);
  EXPECT_EQ(debugLines[1], "Writing  4000 bytes to file from capture buffer starting at offset 30000\n");
  engine.stopCapture();
  const std::vector<std::uint8_t> file = readAll("autoaudio/0.wav");
  ASSERT_EQ(file.size(), 56u + 34000u);
  EXPECT_EQ(u32At(file, 52), 34000u);
  EXPECT_TRUE(std::vector<std::uint8_t>(file.begin() + 56, file.end()) == counting(34000, 0));
}

TEST_F(CaptureEngineTest, PartialBlockWaitsForTheNextDrain) {
  ASSERT_EQ(engine.createCaptureBuffer(formatOf(1)), 0);
  engine.openCaptureFile("autoaudio/0.wav");
  engine.startCapture();
  capture.feedSilence(1500);
  EXPECT_EQ(engine.drainCapture(), platform::kFalse);
  EXPECT_EQ(engine.nextCaptureOffset(), 0u);
  EXPECT_TRUE(debugLines.empty());
  capture.feedSilence(500);
  EXPECT_EQ(engine.drainCapture(), 0);
  EXPECT_EQ(engine.nextCaptureOffset(), 2000u);
}

TEST_F(CaptureEngineTest, StopFinishesTheFileWithWholeBlocksOnly) {
  ASSERT_EQ(engine.createCaptureBuffer(formatOf(0)), 0);  // 1024-byte blocks
  engine.openCaptureFile("autoaudio/3.wav");
  EXPECT_EQ(status.back(), "autoaudio/3.wav");
  engine.startCapture();
  capture.feedSilence(2 * 1024 + 700);
  engine.stopCapture();
  EXPECT_FALSE(engine.hasWriter());
  const std::vector<std::uint8_t> file = readAll("autoaudio/3.wav");
  EXPECT_EQ(u32At(file, 52), 2048u);
  EXPECT_EQ(u32At(file, 4), 48u + 2048u);
  EXPECT_EQ(u32At(file, 24), 8000u);  // the captured format's rate
}

TEST_F(CaptureEngineTest, MissingFolderReportsAndTheFirstDrainFails) {
  ASSERT_EQ(engine.createCaptureBuffer(formatOf(0)), 0);
  engine.openCaptureFile("nowhere/0.wav");
  EXPECT_EQ(status.back(), "Can not create wave file.");
  EXPECT_TRUE(engine.hasWriter());
  engine.startCapture();
  capture.feedSilence(1024);
  EXPECT_LT(engine.drainCapture(), 0);
}

TEST_F(CaptureEngineTest, DrainWithoutRingOrWriterDoesNothing) {
  EXPECT_EQ(engine.drainCapture(), platform::kFalse);
  ASSERT_EQ(engine.createCaptureBuffer(formatOf(0)), 0);
  EXPECT_EQ(engine.drainCapture(), platform::kFalse);
  EXPECT_EQ(engine.stopCapture(), 0);
}

}  // namespace
}  // namespace launcher
