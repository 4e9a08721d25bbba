#include "tidewell/shell/link_control.h"

#include <gtest/gtest.h>
#include <string>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_timeline.h"
#include "tests/support/scratch_folder.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/player_choices.h"

namespace tidewell {
namespace {

// F11 and --link over a fake session, in a scratch working directory.
class LinkControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    startDebugLog();
    SequencerServices services;
    services.clock = &clock_;
    sequencer_ = std::make_unique<Sequencer>(nullptr, services);
    sequencer_->setTempo(700.0f);
    clockBeats_ = &sequencer_->beatSource();
  }
  std::string log() const { return testing_support::readText("data/debug.txt"); }
  bool sessionDrivesTheBeats() { return &sequencer_->beatSource() != clockBeats_; }

  testing_support::ScratchFolder dir_{testing_support::kWorkInside, {"data"}};
  platform::fake::FakeClock clock_;
  platform::fake::FakeTimeline timeline_{&clock_};
  std::unique_ptr<Sequencer> sequencer_;
  BeatSource* clockBeats_ = nullptr;  // the sequencer's own clock
  LinkControl link_{&timeline_};
};

TEST_F(LinkControlTest, F11SharesTheTempoAndBackAndTheChoiceIsKept) {
  link_.joinEarly(false);  // neither --link nor a saved choice
  link_.start(*sequencer_);
  EXPECT_FALSE(timeline_.enabled());
  EXPECT_EQ(link_.mark(), LinkMark::off);

  link_.toggle(*sequencer_);
  EXPECT_TRUE(timeline_.enabled());
  EXPECT_TRUE(sessionDrivesTheBeats());
  EXPECT_EQ(link_.mark(), LinkMark::on);
  EXPECT_DOUBLE_EQ(timeline_.tempo(), 350.0);  // alone, the session takes our tempo
  EXPECT_TRUE(PlayerChoices::load(kPlayerChoicesPath).flag(kLinkChoice, false));
  timeline_.joinSession(120.0, 0.0, 2);
  EXPECT_EQ(link_.peers(), 2);

  link_.toggle(*sequencer_);
  EXPECT_FALSE(timeline_.enabled());
  EXPECT_FALSE(sessionDrivesTheBeats());
  EXPECT_EQ(link_.mark(), LinkMark::off);
  EXPECT_FALSE(PlayerChoices::load(kPlayerChoicesPath).flag(kLinkChoice, true));
  EXPECT_NE(log().find("Link on"), std::string::npos);
  EXPECT_NE(log().find("Link off"), std::string::npos);
}

TEST_F(LinkControlTest, ASavedChoiceTurnsItOnAtStartAndNoNetworkIsSaidOnce) {
  PlayerChoices choices;
  choices.setFlag(kLinkChoice, true);
  ASSERT_TRUE(choices.save(kPlayerChoicesPath));
  timeline_.setNetworkUsable(false);
  link_.joinEarly(false);
  link_.start(*sequencer_);
  EXPECT_EQ(link_.mark(), LinkMark::unavailable);
  EXPECT_FALSE(sessionDrivesTheBeats());  // unsynced: the sequencer's own clock
  const std::string text = log();
  const std::size_t line = text.find("Link unavailable");
  ASSERT_NE(line, std::string::npos) << text;
  EXPECT_EQ(text.find("Link unavailable", line + 1), std::string::npos);
}

}  // namespace
}  // namespace tidewell
