#include "tidewell/recording/recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace tidewell::recording {
namespace {

using namespace std::chrono_literals;
using testing_support::readAll;
using testing_support::ScratchFolder;
using testing_support::u32At;

constexpr std::size_t kHeaderBytes = 58;

class RecorderTest : public ::testing::Test {
 protected:
  RecorderOptions options(const std::string& folderName = "recordings") {
    RecorderOptions o;
    o.folder = scratch_.file(folderName);
    o.timeStamp = [] { return std::string("20240102-030405"); };
    o.log = [this](const std::string& text) {
      std::lock_guard<std::mutex> lock(logMutex_);
      log_.push_back(text);
    };
    return o;
  }
  bool logged(const std::string& part) {
    std::lock_guard<std::mutex> lock(logMutex_);
    for (const std::string& line : log_) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }
  // Blocks of 512 frames whose samples count up from `first`.
  static void feed(Recorder& recorder, int blocks, float* next) {
    std::vector<float> block(1024);
    for (int b = 0; b < blocks; ++b) {
      for (float& s : block) s = (*next)++;
      recorder.onOutput(block.data(), 512);
    }
  }
  static std::vector<float> samplesIn(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readAll(path);
    std::vector<float> samples(u32At(bytes, 54) / sizeof(float));
    std::memcpy(samples.data(), bytes.data() + kHeaderBytes, samples.size() * sizeof(float));
    return samples;
  }

  ScratchFolder scratch_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

// F10 starts (making the folder), blocks fed meanwhile are written whole and
// in order, the second F10 stops; blocks before and after are not recorded.
TEST_F(RecorderTest, ASecondToggleStopsAndTheFileHoldsExactlyTheBlocksBetween) {
  Recorder recorder(options());
  float next = 0;
  feed(recorder, 3, &next);  // not recording yet
  recorder.toggleRecording();
  ASSERT_EQ(recorder.recordingState(), RecordingState::recording);
  EXPECT_EQ(recorder.path(), scratch_.file("recordings/tidewell-20240102-030405.wav"));
  const float first = next;
  feed(recorder, 200, &next);
  recorder.toggleRecording();
  EXPECT_EQ(recorder.recordingState(), RecordingState::off);
  feed(recorder, 3, &next);

  const std::vector<float> samples = samplesIn(recorder.path());
  ASSERT_EQ(samples.size(), 200u * 1024u);
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(samples[i], first + static_cast<float>(i));
  EXPECT_EQ(readAll(recorder.path()).size(), kHeaderBytes + samples.size() * sizeof(float));
  EXPECT_TRUE(logged("recording finished"));
}

// While it records, the header on disk catches up with the sound written.
TEST_F(RecorderTest, TheHeaderFollowsTheRecordingWhileItRuns) {
  RecorderOptions o = options();
  o.headerRefresh = 100ms;
  Recorder recorder(o);
  ASSERT_TRUE(recorder.start());
  float next = 0;
  feed(recorder, 100, &next);
  // A few refreshes on an idle machine; the cap leaves room for a sanitizer on a busy one.
  std::vector<std::uint8_t> bytes;
  for (const auto cap = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < cap;) {
    bytes = readAll(recorder.path());
    if (bytes.size() >= 58 && u32At(bytes, 54) == 100u * 1024u * sizeof(float)) break;
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(u32At(bytes, 54), 100u * 1024u * sizeof(float));
  EXPECT_EQ(u32At(bytes, 4), bytes.size() - 8);
  recorder.stop();
}

// Two recordings in the same second keep both files.
TEST_F(RecorderTest, ASecondRecordingInTheSameSecondGetsItsOwnName) {
  Recorder recorder(options());
  ASSERT_TRUE(recorder.start());
  const std::string firstPath = recorder.path();
  recorder.stop();
  ASSERT_TRUE(recorder.start());
  EXPECT_EQ(recorder.path(), scratch_.file("recordings/tidewell-20240102-030405-2.wav"));
  recorder.stop();
  EXPECT_TRUE(std::filesystem::exists(firstPath));
}

// The folder cannot be made (a file has its name): the state shows the
// failure, blocks keep coming without harm, and F10 tries again.
TEST_F(RecorderTest, AFolderThatCannotBeMadeFailsTheRecordingOnly) {
  std::ofstream(scratch_.file("blocked")) << "a file, not a folder";
  Recorder recorder(options("blocked"));
  recorder.toggleRecording();
  EXPECT_EQ(recorder.recordingState(), RecordingState::failed);
  EXPECT_TRUE(logged("cannot create the folder"));
  float next = 0;
  feed(recorder, 10, &next);
  recorder.toggleRecording();
  EXPECT_EQ(recorder.recordingState(), RecordingState::failed);
}

// A full disk (here: a file-size limit) ends the recording in the failed
// state; the file stays a valid WAV of every whole frame that reached it,
// even when the disk fills before the header was first brought up to date.
TEST_F(RecorderTest, AFullDiskStopsTheRecordingWithAValidFile) {
  RecorderOptions o = options();
  o.headerRefresh = 1h;
  o.writerPause = 5ms;
  Recorder recorder(o);
  ASSERT_TRUE(recorder.start());
  {
    testing_support::FileSizeLimit limit(300 * 1024);
    float next = 0;
    const auto cap = std::chrono::steady_clock::now() + 30s;  // room for a sanitizer on a busy machine
    while (recorder.recordingState() == RecordingState::recording && std::chrono::steady_clock::now() < cap) {
      feed(recorder, 10, &next);
      std::this_thread::sleep_for(5ms);  // the writer's pace
    }
  }
  EXPECT_EQ(recorder.recordingState(), RecordingState::failed);
  EXPECT_TRUE(logged("disk full"));
  recorder.stop();
  const std::vector<std::uint8_t> bytes = readAll(recorder.path());
  ASSERT_GT(bytes.size(), 100u * 1024);
  const std::size_t wholeFrames = (bytes.size() - kHeaderBytes) / 8;
  EXPECT_EQ(u32At(bytes, 54), wholeFrames * 8);  // the data chunk's size
  EXPECT_EQ(u32At(bytes, 46), wholeFrames);  // the frame count
  EXPECT_EQ(u32At(bytes, 4), u32At(bytes, 54) + kHeaderBytes - 8);  // the RIFF size
}

// A writer that falls behind costs whole blocks, counted and logged; the
// audio side never waits for it: a feed that waited for room would drop nothing.
TEST_F(RecorderTest, AnOverrunDropsBlocksWithoutBlockingAndIsLogged) {
  RecorderOptions o = options();
  o.ringSeconds = 0.05;  // 2400 frames
  o.writerPause = 1000ms;
  Recorder recorder(o);
  ASSERT_TRUE(recorder.start());
  float next = 0;
  feed(recorder, 20, &next);  // 10240 frames into a ring of 4096
  EXPECT_GT(recorder.droppedFrames(), 0u);
  recorder.stop();
  EXPECT_TRUE(logged("frames of sound dropped"));
  EXPECT_EQ(samplesIn(recorder.path()).size() / 2 + recorder.droppedFrames(), 20u * 512u);
}

}  // namespace
}  // namespace tidewell::recording
