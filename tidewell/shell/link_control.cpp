#include "tidewell/shell/link_control.h"

#include <memory>
#include <string>

#include "tidewell/link/link_beat_source.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/player_choices.h"
#include "tidewell/shell/shell_platform.h"

namespace tidewell {
namespace {

enum class Sharing { off, on, unavailable };

Sharing sharing = Sharing::off;
std::unique_ptr<link::LinkBeatSource> sessionBeats;

// What joining early found: an empty problem when the timeline is on.
bool joinedEarly = false;
std::string earlyProblem;

bool enableTimeline(std::string* problem) {
  return shellPlatform.timeline->enable(true, problem);
}

// The sequencer's beats from the session; `enabled` says whether the timeline
// could be turned on, `problem` why not.
void plugIn(bool enabled, const std::string& problem) {
  if (!enabled) {
    sharing = Sharing::unavailable;
    appendDebugLog(("Link unavailable, playing unsynced: " + problem).c_str());
    return;
  }
  sessionBeats = std::make_unique<link::LinkBeatSource>(*shellPlatform.timeline, *sequencer);
  sessionBeats->start();
  sequencer->useBeatSource(sessionBeats.get());
  sharing = Sharing::on;
  appendDebugLog("Link on: sharing tempo and beats on the local network");
}

void turnOn() {
  std::string problem;
  const bool enabled = enableTimeline(&problem);
  plugIn(enabled, problem);
}

void turnOff() {
  if (sequencer != nullptr) sequencer->useBeatSource(nullptr);
  sessionBeats.reset();
  if (sharing == Sharing::on) {
    shellPlatform.timeline->enable(false, nullptr);
    appendDebugLog("Link off: playing on our own clock");
  }
  sharing = Sharing::off;
}

bool available() { return shellPlatform.timeline != nullptr && sequencer != nullptr; }

}  // namespace

void joinLinkEarly(bool fromCommandLine) {
  if (shellPlatform.timeline == nullptr) return;
  if (!fromCommandLine && !PlayerChoices::load(kPlayerChoicesPath).flag(kLinkChoice, false)) return;
  joinedEarly = true;
  earlyProblem.clear();
  if (!enableTimeline(&earlyProblem) && earlyProblem.empty()) earlyProblem = "unknown";
}

void startLink() {
  if (!available() || !joinedEarly) return;
  joinedEarly = false;
  plugIn(earlyProblem.empty(), earlyProblem);
}

void toggleLink() {
  if (!available()) return;
  const bool wanted = sharing == Sharing::off;
  if (wanted) {
    turnOn();
  } else {
    turnOff();
  }
  PlayerChoices choices = PlayerChoices::load(kPlayerChoicesPath);
  choices.setFlag(kLinkChoice, wanted);
  if (!choices.save(kPlayerChoicesPath)) appendDebugLog("could not save the player's choices");
}

void stopLink() {
  if (shellPlatform.timeline != nullptr) turnOff();
}

LinkMark currentLinkMark() {
  switch (sharing) {
    case Sharing::off: return LinkMark::off;
    case Sharing::unavailable: return LinkMark::unavailable;
    case Sharing::on: break;
  }
  return sessionBeats != nullptr && sessionBeats->tempoClamped() ? LinkMark::clamped : LinkMark::on;
}

int currentLinkPeers() {
  return sharing == Sharing::on ? shellPlatform.timeline->peerCount() : 0;
}

}  // namespace tidewell
