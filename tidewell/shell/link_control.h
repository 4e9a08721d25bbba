#pragma once
// Sharing tempo and beats with Link peers on the local network. On at start
// with --link or when the player left it on last time; F11 switches it while
// playing and the choice is kept in the player's choices file. While on, the
// sequencer's beats come from the session; while off (or without a network)
// from its own clock, exactly as without Link. Each change is one line of
// the debug log.
#include <memory>
#include <string>

#include "platform/api/shared_timeline.h"
#include "tidewell/picture/picture_context.h"

namespace tidewell {

class Sequencer;
namespace link {
class LinkBeatSource;
}

// The player's choice in the choices file.
constexpr const char* kLinkChoice = "link";

class LinkControl {
 public:
  // Without a timeline (tests of other things, offline renders) nothing is
  // ever shared.
  explicit LinkControl(platform::SharedTimeline* timeline);
  ~LinkControl();
  LinkControl(const LinkControl&) = delete;
  LinkControl& operator=(const LinkControl&) = delete;

  // As early as the program can: when --link was given or the saved choice
  // is on, the timeline starts looking for peers while the window and the
  // samples come up.
  void joinEarly(bool fromCommandLine);
  // At the end of start-up: the sequencer's beats come from the session
  // joined early, or the debug log says why there is none.
  void start(Sequencer& sequencer);
  // F11: on from off, off from on (or from on-without-a-network); the new
  // choice is saved.
  void toggle(Sequencer& sequencer);

  // For the info line's mark.
  LinkMark mark() const;
  int peers() const;

 private:
  enum class Sharing { off, on, unavailable };
  void plugIn(Sequencer& sequencer, bool enabled, const std::string& problem);
  void turnOff(Sequencer& sequencer);

  platform::SharedTimeline* timeline_;
  Sharing sharing_ = Sharing::off;
  std::unique_ptr<link::LinkBeatSource> sessionBeats_;
  bool joinedEarly_ = false;
  std::string earlyProblem_;  // empty when the timeline came on
};

}  // namespace tidewell
