#include "launcher/setup_dialog.h"

#include <gtest/gtest.h>

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

class SetupDialogTest : public ::testing::Test, protected LauncherRig {
 protected:
  // Builds the launcher and the filled dialog.
  void open() {
    launcher = std::make_unique<Launcher>(services);
    ASSERT_EQ(launcher->engine.initCaptureEngine(), 0);
    dialog = std::make_unique<FakeDialog>(setupDialogTemplate());
    dialog->setCommandHandler([this](int id, int) { setupDialogCommand(*launcher, *dialog, id); });
    setupDialogInit(*launcher, *dialog);
  }
  std::string settings() { return testing_support::readText("data/settings.txt"); }

  std::unique_ptr<Launcher> launcher;
  std::unique_ptr<FakeDialog> dialog;
};

// The nine drop-down lists, item by item in their fixed order, and the item
// each starts on; the format scan's sixteen trial rings are made under the
// wait cursor.
TEST_F(SetupDialogTest, ListsHoldTheirItemsInOrderWithTheInitialSelections) {
  using Items = std::vector<std::string>;
  const Items mutation{"none", "low", "medium", "high", "very high"};
  const struct {
    int id;
    Items items;
    int selected;
  } lists[] = {
      {IDC_TIME_SIGNATURE, {"4", "5", "6", "7", "8"}, 0},
      {IDC_TIME_SIGNATURE_MUTATION, mutation, 0},
      {IDC_BEHAVIOUR_MUTATION, mutation, 0},
      {IDC_WAVEFORM_MUTATION, mutation, 0},
      {IDC_BEHAVIOUR, {"Random", "Sliding", "Tonal"}, 0},
      {IDC_WAVEFORM, {"Saw Down", "Saw Up", "Sine"}, 0},
      {IDC_CHANNELS, {"1", "2", "3", "4", "5", "6", "7", "8"}, 2},
      {IDC_TEMPO, {"v slow", "slow", "medium", "fast", "v fast"}, 2},
      {IDC_DEMO, {"Percussive", "Ambient", "L-Piano", "Instagib"}, 0},
  };
  std::vector<int> ringsMade;
  waitCursor.onShow = [&] { ringsMade.push_back(capture.buffersCreated()); };
  waitCursor.onRestore = [&] { ringsMade.push_back(capture.buffersCreated()); };
  open();
  EXPECT_EQ(ringsMade, (std::vector<int>{0, 16}));
  for (const auto& list : lists) {
    EXPECT_EQ(dialog->items(list.id), list.items) << "list " << list.id;
    EXPECT_EQ(dialog->getCurSel(list.id), list.selected) << "list " << list.id;
  }
  EXPECT_EQ(dialog->getText(IDC_FOLDER_NAME), "demo1");
  EXPECT_EQ(dialog->getText(IDC_SEARCH_KEYWORD), "currently disabled");
  EXPECT_EQ(dialog->items(IDC_FORMAT_LIST).size(), 16u);
  EXPECT_EQ(dialog->getCurSel(IDC_FORMAT_LIST), -1);
  EXPECT_FALSE(dialog->isEnabled(IDC_WEB_OK));
}

TEST_F(SetupDialogTest, FormatListShowsOnlyAcceptedFormatsWithTheirIndexes) {
  capture.acceptOnly([](const platform::WaveFormatEx& f) { return f.samplesPerSec == 22050; });
  open();
  EXPECT_EQ(dialog->items(IDC_FORMAT_LIST),
            (std::vector<std::string>{"22050 Hz, 8-bit Mono", "22050 Hz, 16-bit Mono",
                                      "22050 Hz, 8-bit Stereo", "22050 Hz, 16-bit Stereo"}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog->getItemData(IDC_FORMAT_LIST, i), 8 + i);
}

TEST_F(SetupDialogTest, LocalFolderWritesDefaultsAndStartsOneInstancePerPress) {
  open();
  dialog->click(IDC_FOLDER_OK);
  EXPECT_EQ(settings(), "1,0,0,0,0,0,0,2,2,demo1,currently disabled,");
  dialog->setText(IDC_FOLDER_NAME, "other");
  dialog->click(IDC_FOLDER_OK);
  EXPECT_EQ(settings(), "1,0,0,0,0,0,0,2,2,other,currently disabled,");
  EXPECT_EQ(starter.started, (std::vector<std::string>{"tidewell", "tidewell"}));
  EXPECT_FALSE(dialog->ended());
}

// Each list in turn gets a value of its own; exactly its field changes, so
// two controls swapped anywhere between the dialog and the line show up.
TEST_F(SetupDialogTest, EachListFeedsItsOwnField) {
  struct Row {
    int list;
    int value;
    const char* expected;
  };
  const Row rows[] = {
      {IDC_TIME_SIGNATURE, 4, "1,4,0,0,0,0,0,2,2,demo1,currently disabled,"},
      {IDC_TIME_SIGNATURE_MUTATION, 3, "1,0,3,0,0,0,0,2,2,demo1,currently disabled,"},
      {IDC_BEHAVIOUR, 2, "1,0,0,2,0,0,0,2,2,demo1,currently disabled,"},
      {IDC_BEHAVIOUR_MUTATION, 1, "1,0,0,0,1,0,0,2,2,demo1,currently disabled,"},
      {IDC_WAVEFORM, 1, "1,0,0,0,0,1,0,2,2,demo1,currently disabled,"},
      {IDC_WAVEFORM_MUTATION, 4, "1,0,0,0,0,0,4,2,2,demo1,currently disabled,"},
      {IDC_CHANNELS, 7, "1,0,0,0,0,0,0,7,2,demo1,currently disabled,"},
      {IDC_TEMPO, 0, "1,0,0,0,0,0,0,2,0,demo1,currently disabled,"},
  };
  for (const Row& row : rows) {
    open();
    dialog->select(row.list, row.value);
    dialog->click(IDC_FOLDER_OK);
    EXPECT_EQ(settings(), row.expected) << "list " << row.list;
  }
  // The ninth list picks the demo and nothing else does.
  open();
  dialog->select(IDC_DEMO, 2);
  dialog->click(IDC_FOLDER_OK);
  EXPECT_EQ(settings(), "1,0,0,0,0,0,0,2,2,demo1,currently disabled,");
  dialog->click(IDC_DEMO_OK);
  EXPECT_EQ(settings(), "1,5,0,2,0,0,0,5,3,demo3,none,");
}

TEST_F(SetupDialogTest, FailedStartOrSettingsWriteIsReportedAndTheDialogStays) {
  open();
  starter.failure = "Can not start /opt/bin/tidewell: No such file or directory";
  dialog->click(IDC_FOLDER_OK);
  dialog->select(IDC_FORMAT_LIST, 0);
  dialog->click(IDC_CAPTURE_OK);
  EXPECT_EQ(boxes.texts, (std::vector<std::string>(2, starter.failure)));
  EXPECT_FALSE(dialog->ended());
  EXPECT_FALSE(launcher->engine.hasCaptureBuffer());  // nothing recorded for it

  starter.failure.clear();
  std::filesystem::remove_all("data");
  dialog->click(IDC_DEMO_OK);
  ASSERT_EQ(boxes.texts.size(), 3u);
  EXPECT_EQ(boxes.texts[2], "Can not write data/settings.txt: No such file or directory");
  EXPECT_TRUE(starter.started.empty());
  EXPECT_FALSE(dialog->ended());
  dialog->click(IDC_QUIT);  // Quit still ends it, with 2
  EXPECT_EQ(dialog->endCode(), 2);
}

// Capture OK is usable only with a format selected; confirmed, it writes
// input 2 and prepares the chosen ring.
TEST_F(SetupDialogTest, CaptureOkNeedsAFormatAndPreparesTheChosenRing) {
  open();
  EXPECT_FALSE(dialog->isEnabled(IDC_CAPTURE_OK));
  dialog->click(IDC_CAPTURE_OK);
  EXPECT_TRUE(starter.started.empty());
  dialog->select(IDC_FORMAT_LIST, 4);
  EXPECT_TRUE(dialog->isEnabled(IDC_CAPTURE_OK));
  dialog->select(IDC_FORMAT_LIST, -1);
  EXPECT_FALSE(dialog->isEnabled(IDC_CAPTURE_OK));
  dialog->select(IDC_FORMAT_LIST, 4);  // 11025 Hz, 8-bit Mono
  dialog->click(IDC_CAPTURE_OK);
  EXPECT_EQ(settings(), "2,0,0,0,0,0,0,2,2,demo1,currently disabled,");
  EXPECT_EQ(starter.started.size(), 1u);
  EXPECT_TRUE(dialog->ended());
  EXPECT_EQ(dialog->endCode(), 1);  // capture confirmed, the ring ready
  EXPECT_EQ(launcher->engine.chosenFormat.samplesPerSec, 11025u);
  EXPECT_EQ(launcher->engine.chosenFormat.formatTag, platform::WAVE_FORMAT_PCM);
  EXPECT_EQ(launcher->engine.captureBufferSize(), 22048u);
}

TEST_F(SetupDialogTest, DeviceAcceptingNothingLeavesOnlyFolderAndDemoWays) {
  capture.acceptOnly([](const platform::WaveFormatEx&) { return false; });
  open();
  EXPECT_TRUE(dialog->items(IDC_FORMAT_LIST).empty());
  dialog->select(IDC_FORMAT_LIST, 0);
  dialog->click(IDC_CAPTURE_OK);
  EXPECT_FALSE(dialog->ended());
  dialog->click(IDC_DEMO_OK);
  EXPECT_EQ(settings(), "1,7,0,2,0,0,0,3,3,demo1,none,");
}

TEST_F(SetupDialogTest, RingThatCannotBeMadeReportsTheScanErrorAfterTheLaunch) {
  open();
  dialog->select(IDC_FORMAT_LIST, 0);
  capture.failNextBuffers(1, platform::DSERR_ALLOCATED);
  dialog->click(IDC_CAPTURE_OK);
  EXPECT_EQ(dialog->endCode(), 3);  // an error already reported
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Error scanning DirectSound formats.Sample will now exit."}));
  EXPECT_EQ(boxes.captions[0], "DirectSound Sample");
  EXPECT_EQ(starter.started.size(), 1u);
}

TEST_F(SetupDialogTest, WithoutCaptureDeviceTheDialogOffersFolderAndDemoRuns) {
  capture.failDeviceCreation(platform::DSERR_NODRIVER);
  factory.onRunModal = [](FakeDialog& d) {
    EXPECT_TRUE(d.items(IDC_FORMAT_LIST).empty());
    EXPECT_FALSE(d.isEnabled(IDC_FORMAT_LIST));
    EXPECT_EQ(d.getText(IDC_FORMAT_NOTE), kNoCaptureDeviceNote);
    d.click(IDC_CAPTURE_OK);  // disabled: nothing happens
    d.click(IDC_FOLDER_OK);
    d.click(IDC_QUIT);
  };
  EXPECT_EQ(launcherMain(services), 1);
  EXPECT_TRUE(boxes.texts.empty());
  ASSERT_EQ(factory.created.size(), 2u);  // the capture window and the setup dialog
  EXPECT_EQ(settings(), "1,0,0,0,0,0,0,2,2,demo1,currently disabled,");
  EXPECT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(waitCursor.shows, 0);  // no scan without a device
}

TEST_F(SetupDialogTest, QuitFromTheSetupDialogEndsTheLauncherWithoutRecording) {
  factory.onRunModal = [](FakeDialog& d) { d.click(IDC_QUIT); };
  EXPECT_EQ(launcherMain(services), 1);
  EXPECT_EQ(loop.waits, 1);
  EXPECT_EQ(capture.buffersCreated(), 16);  // the scan's trial rings only
  EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
}  // namespace launcher
