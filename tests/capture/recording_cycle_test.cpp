#include "launcher/recording_cycle.h"

#include <gtest/gtest.h>

#include "launcher/capture_formats.h"
#include "launcher/capture_window.h"
#include "launcher/control_ids.h"
#include "launcher/dialog_templates.h"
#include "launcher/launcher_main.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_dialog.h"
#include "platform/fake/launcher_fakes.h"
#include "platform/fake/scripted_capture.h"
#include "tests/support/launcher_rig.h"

namespace launcher {
namespace {

using platform::fake::FakeDialog;

class RecordingCycleTest : public ::testing::Test, protected LauncherRig {
 protected:
  explicit RecordingCycleTest(bool withAutoaudio = true) : LauncherRig(withAutoaudio) {}
  void prepare() {
    launcher = std::make_unique<Launcher>(services);
    launcher->engine.setDebugOutput([](const char*) {});
    launcher->captureWindow = factory.createDialog(captureWindowTemplate());
    window = static_cast<FakeDialog*>(launcher->captureWindow.get());
    window->setCommandHandler([this](int id, int) { captureWindowCommand(*launcher, id); });
    initCaptureWindow(*launcher);
    ASSERT_EQ(launcher->engine.initCaptureEngine(), 0);
    launcher->engine.chosenFormat.formatTag = platform::WAVE_FORMAT_PCM;
    formatFromIndex(0, &launcher->engine.chosenFormat);
    ASSERT_EQ(launcher->engine.createCaptureBuffer(launcher->engine.chosenFormat), 0);
    clock.set(100000);
  }
  // Runs the cycle until the next flip, feeding `feed` bytes per 100 ms.
  void runHalf(std::uint32_t feed = 0) {
    const int flag = launcher->cycleFlag;
    for (int i = 0; i < 30 && launcher->cycleFlag == flag; ++i) {
      recordingCycleStep(*launcher);
      if (feed) capture.feedSilence(feed);
      if (launcher->notifyEvent.take()) launcher->engine.drainCapture();
      clock.advance(100);
    }
  }

  std::unique_ptr<Launcher> launcher;
  FakeDialog* window = nullptr;
};

TEST_F(RecordingCycleTest, FirstPassStopsThenFilesFollowEveryOtherFlip) {
  prepare();
  EXPECT_EQ(window->getText(IDC_STATUS), "No file loaded.");
  recordingCycleStep(*launcher);  // fires at once: the clock reads far above 2000
  EXPECT_EQ(launcher->cycleFlag, 1);
  EXPECT_FALSE(window->isEnabled(IDC_RECORD));
  clock.advance(2000);
  recordingCycleStep(*launcher);
  EXPECT_EQ(launcher->cycleFlag, 1);  // exactly 2000 is not above
  clock.advance(1);
  recordingCycleStep(*launcher);
  EXPECT_EQ(launcher->cycleFlag, 0);
  EXPECT_EQ(window->getText(IDC_STATUS), "autoaudio/0.wav");
}

std::string dataOf(const std::string& path) {
  const std::string file = testing_support::readText(path);
  return file.size() < 56 ? std::string() : file.substr(56);
}

std::vector<std::uint8_t> counting(std::size_t count, std::uint8_t from) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(from + i);
  return bytes;
}

TEST_F(RecordingCycleTest, ChosenFileRecordsFromTheFirstRecordPressToTheSecond) {
  services.initialSaveFolder = "/home/someone/Music";
  prepare();
  runHalf();  // the first, immediate flip to a pause
  runHalf();  // the pause; autoaudio/0.wav is being recorded now
  clock.advance(1900);
  recordingCycleStep(*launcher);
  capture.feedSilence(3000, 0x11);  // heard before the choice, not yet drained

  const std::string mine = std::string(std::filesystem::current_path()) + "/mine.wav";
  chooser.answer = mine;
  window->click(IDC_SOUND_FILE);
  ASSERT_EQ(chooser.requests.size(), 1u);
  EXPECT_EQ(chooser.requests[0].title, "Save Sound File");
  EXPECT_EQ(chooser.requests[0].initialFolder, "/home/someone/Music");
  EXPECT_EQ(chooser.requests[0].flags, 0x806u);
  EXPECT_EQ(window->getText(IDC_STATUS), mine);
  EXPECT_TRUE(window->isEnabled(IDC_RECORD));
  EXPECT_FALSE(window->isChecked(IDC_RECORD));
  // The take in progress was finished with its whole blocks before the chooser.
  EXPECT_TRUE(dataOf("autoaudio/0.wav") == std::string(2048, '\x11'));

  // Until "&Record" is pressed nothing is recorded, and the cycle waits.
  for (int i = 0; i < 50; ++i) {
    capture.feedSilence(300, 0x22);
    clock.advance(100);
    recordingCycleStep(*launcher);
  }
  EXPECT_EQ(launcher->cycleFlag, 0);
  window->click(IDC_RECORD);
  EXPECT_TRUE(window->isChecked(IDC_RECORD));
  const std::vector<std::uint8_t> heard = counting(5000, 7);
  capture.feed(heard);
  if (launcher->notifyEvent.take()) launcher->engine.drainCapture();
  window->click(IDC_RECORD);
  EXPECT_FALSE(window->isChecked(IDC_RECORD));
  EXPECT_FALSE(window->isEnabled(IDC_RECORD));
  EXPECT_TRUE(dataOf(mine) == std::string(heard.begin(), heard.begin() + 4096));
  EXPECT_FALSE(std::filesystem::exists(mine + ".part"));

  // The cycle goes on with a whole half.
  clock.advance(2000);
  recordingCycleStep(*launcher);
  EXPECT_EQ(launcher->cycleFlag, 0);
  clock.advance(1);
  recordingCycleStep(*launcher);
  EXPECT_EQ(launcher->cycleFlag, 1);

  chooser.answer.clear();
  window->click(IDC_SOUND_FILE);
  EXPECT_EQ(window->getText(IDC_STATUS), "Save aborted.");
  EXPECT_FALSE(window->isEnabled(IDC_RECORD));
  EXPECT_EQ(chooser.requests[1].initialFolder, std::string(std::filesystem::current_path()));
  EXPECT_EQ(chooser.requests[1].fileName, mine);
}

// Takes go to autoaudio/0.wav .. 10.wav in turn and then to 0 again; each
// file takes its name only when whole, so the first take of 0 stays readable
// while the second is made. The main program starts a second time once, when
// the fifth take is finished.
TEST_F(RecordingCycleTest, TakesGoRoundElevenNamesEachNamedOnlyWhenWhole) {
  prepare();
  runHalf();  // the first, immediate flip to a pause
  std::vector<std::string> names;
  std::vector<std::size_t> startsAfterFinish;
  std::string firstTake;
  for (int take = 0; take < 24; ++take) {
    runHalf();  // the pause; then the next take starts
    if (take == 0) {
      EXPECT_TRUE(std::filesystem::exists("autoaudio/0.wav.part"));
      EXPECT_FALSE(std::filesystem::exists("autoaudio/0.wav"));
    }
    if (take == 11) {
      capture.feedSilence(4096, 0x22);
      if (launcher->notifyEvent.take()) launcher->engine.drainCapture();
      EXPECT_TRUE(testing_support::readText("autoaudio/0.wav") == firstTake);
    }
    runHalf(1024);  // the take
    names.push_back(window->getText(IDC_STATUS));
    startsAfterFinish.push_back(starter.started.size());
    if (take == 0) firstTake = testing_support::readText("autoaudio/0.wav");
    if (take == 11) {
      EXPECT_TRUE(dataOf("autoaudio/0.wav").substr(0, 4096) == std::string(4096, '\x22'));
    }
  }
  ASSERT_GT(firstTake.size(), 56u);
  EXPECT_EQ(names[0], "autoaudio/0.wav");
  EXPECT_EQ(names[10], "autoaudio/10.wav");
  EXPECT_EQ(names[11], "autoaudio/0.wav");
  EXPECT_EQ(names[22], "autoaudio/0.wav");
  EXPECT_EQ(startsAfterFinish[3], 0u);
  EXPECT_EQ(startsAfterFinish[4], 1u);  // finishing autoaudio/4.wav
  EXPECT_EQ(startsAfterFinish[23], 1u);
  EXPECT_EQ(starter.started[0], "tidewell");
  const std::uint32_t dataSize = testing_support::u32At(testing_support::readAll("autoaudio/4.wav"), 52);
  EXPECT_GT(dataSize, 0u);
  EXPECT_EQ(dataSize % 1024, 0u);
  for (const auto& entry : std::filesystem::directory_iterator("autoaudio"))
    EXPECT_EQ(entry.path().extension(), ".wav") << entry.path();
}

TEST_F(RecordingCycleTest, RingFailureDuringTheCycleReportsAndQuits) {
  prepare();
  runHalf();
  capture.failNextBuffers(1, platform::DSERR_ALLOCATED);
  runHalf();
  EXPECT_EQ(boxes.texts,
            (std::vector<std::string>{"Error creating DirectSoundCapture buffer. Sample will now exit."}));
  EXPECT_EQ(loop.quitsPosted, 1);
  EXPECT_EQ(window->endCode(), 3);  // an error already reported
}

// The whole launcher over fakes: confirm a capture run, record, then close.
class LauncherRunTest : public RecordingCycleTest {
 protected:
  explicit LauncherRunTest(bool withAutoaudio = true) : RecordingCycleTest(withAutoaudio) {}
  void confirmFirstFormatAndRun(int closeAfterWaits) {
    factory.onRunModal = [](FakeDialog& d) {
      d.select(IDC_FORMAT_LIST, 0);  // 8000 Hz, 8-bit Mono
      d.click(IDC_CAPTURE_OK);
    };
    clock.set(50000);
    loop.onWait = [this, closeAfterWaits] {
      clock.advance(100);
      capture.feedSilence(400);
      statusLines.push_back(factory.created[0]->getText(IDC_STATUS));
      if (loop.waits == closeAfterWaits) factory.created[0]->click(IDC_CANCEL);
    };
    EXPECT_EQ(launcherMain(services), 1);
  }
  std::vector<std::string> statusLines;  // the capture window's status after each wait
};

TEST_F(LauncherRunTest, ClosingDuringARecordingFinishesTheFileWithWholeBlocks) {
  confirmFirstFormatAndRun(30);  // 21 waits pause, then 9 waits of recording
  const std::vector<std::uint8_t> file = testing_support::readAll("autoaudio/0.wav");
  ASSERT_GE(file.size(), 56u);
  const std::uint32_t dataSize = testing_support::u32At(file, 52);
  EXPECT_GT(dataSize, 0u);
  EXPECT_EQ(dataSize % 1024, 0u);
  EXPECT_EQ(file.size(), 56u + dataSize);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(testing_support::readText("data/settings.txt"), "2,0,0,0,0,0,0,2,2,demo1,currently disabled,");
}

class LauncherWithoutAutoaudioTest : public LauncherRunTest {
 protected:
  LauncherWithoutAutoaudioTest() : LauncherRunTest(false) {}
};

TEST_F(LauncherWithoutAutoaudioTest, MissingFolderGivesStatusThenNotificationError) {
  confirmFirstFormatAndRun(1000);
  ASSERT_FALSE(statusLines.empty());
  EXPECT_EQ(statusLines.back(), "Can not create wave file.");
  EXPECT_EQ(boxes.texts,
            (std::vector<std::string>{"Error handling DirectSound notifications. Sample will now exit."}));
  EXPECT_LT(loop.waits, 60);
}

}  // namespace
}  // namespace launcher
