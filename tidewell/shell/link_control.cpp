#include "tidewell/shell/link_control.h"

#include "tidewell/link/link_beat_source.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/player_choices.h"

namespace tidewell {

LinkControl::LinkControl(platform::SharedTimeline* timeline) : timeline_(timeline) {}

LinkControl::~LinkControl() = default;

void LinkControl::joinEarly(bool fromCommandLine) {
  if (timeline_ == nullptr) return;
  if (!fromCommandLine && !PlayerChoices::load(kPlayerChoicesPath).flag(kLinkChoice, false)) return;
  joinedEarly_ = true;
  earlyProblem_.clear();
  if (!timeline_->enable(true, &earlyProblem_) && earlyProblem_.empty()) earlyProblem_ = "unknown";
}

void LinkControl::start(Sequencer& sequencer) {
  if (timeline_ == nullptr || !joinedEarly_) return;
  joinedEarly_ = false;
  plugIn(sequencer, earlyProblem_.empty(), earlyProblem_);
}

void LinkControl::toggle(Sequencer& sequencer) {
  if (timeline_ == nullptr) return;
  const bool wanted = sharing_ == Sharing::off;
  if (wanted) {
    std::string problem;
    const bool enabled = timeline_->enable(true, &problem);
    plugIn(sequencer, enabled, problem);
  } else {
    turnOff(sequencer);
  }
  PlayerChoices choices = PlayerChoices::load(kPlayerChoicesPath);
  choices.setFlag(kLinkChoice, wanted);
  if (!choices.save(kPlayerChoicesPath)) appendDebugLog("could not save the player's choices");
}

void LinkControl::plugIn(Sequencer& sequencer, bool enabled, const std::string& problem) {
  if (!enabled) {
    sharing_ = Sharing::unavailable;
    appendDebugLog(("Link unavailable, playing unsynced: " + problem).c_str());
    return;
  }
  sessionBeats_ = std::make_unique<link::LinkBeatSource>(*timeline_, sequencer);
  sessionBeats_->start();
  sequencer.useBeatSource(sessionBeats_.get());
  sharing_ = Sharing::on;
  appendDebugLog("Link on: sharing tempo and beats on the local network");
}

void LinkControl::turnOff(Sequencer& sequencer) {
  sequencer.useBeatSource(nullptr);
  sessionBeats_.reset();
  if (sharing_ == Sharing::on) {
    timeline_->enable(false, nullptr);
    appendDebugLog("Link off: playing on our own clock");
  }
  sharing_ = Sharing::off;
}

LinkMark LinkControl::mark() const {
  switch (sharing_) {
    case Sharing::off: return LinkMark::off;
    case Sharing::unavailable: return LinkMark::unavailable;
    case Sharing::on: break;
  }
  return sessionBeats_ != nullptr && sessionBeats_->tempoClamped() ? LinkMark::clamped : LinkMark::on;
}

int LinkControl::peers() const { return sharing_ == Sharing::on ? timeline_->peerCount() : 0; }

}  // namespace tidewell
