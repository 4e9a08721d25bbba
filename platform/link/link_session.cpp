#include "platform/link/link_session.h"

#include <ableton/Link.hpp>

#include <chrono>
#include <exception>

#include "platform/link/network_probe.h"

namespace platform::link {
namespace {

using std::chrono::microseconds;

// The tempo a session of our own starts at until the program sets one.
constexpr double kStartTempo = 120.0;

}  // namespace

struct LinkSession::State {
  std::unique_ptr<ableton::Link> link;
  std::optional<ableton::Link::SessionState> session;  // the last capture
};

LinkSession::LinkSession() : state_(std::make_unique<State>()) {}

LinkSession::~LinkSession() {
  if (state_->link) state_->link->enable(false);
}

bool LinkSession::enable(bool on, std::string* problem) {
  if (!on) {
    if (state_->link) state_->link->enable(false);
    return true;
  }
  if (!networkCanShareSession(problem)) {
    if (state_->link) state_->link->enable(false);
    return false;
  }
  // Link throws where it cannot start its threads; nothing else here does.
  try {
    if (!state_->link) state_->link = std::make_unique<ableton::Link>(kStartTempo);
    state_->link->enable(true);
  } catch (const std::exception& e) {
    if (problem != nullptr) *problem = std::string("cannot start the session: ") + e.what();
    state_->link.reset();
    state_->session.reset();
    return false;
  }
  return true;
}

bool LinkSession::enabled() const { return state_->link && state_->link->isEnabled(); }

int LinkSession::peerCount() const {
  return state_->link ? static_cast<int>(state_->link->numPeers()) : 0;
}

std::int64_t LinkSession::nowMicros() const {
  if (state_->link) return state_->link->clock().micros().count();
  return ableton::link::platform::Clock{}.micros().count();
}

void LinkSession::capture() {
  if (state_->link) state_->session.emplace(state_->link->captureAppSessionState());
}

double LinkSession::tempo() const {
  return state_->session ? state_->session->tempo() : kStartTempo;
}

double LinkSession::beatAtTime(std::int64_t micros, double quantum) const {
  if (!state_->session) return 0.0;
  return state_->session->beatAtTime(microseconds(micros), quantum);
}

double LinkSession::phaseAtTime(std::int64_t micros, double quantum) const {
  if (!state_->session) return 0.0;
  return state_->session->phaseAtTime(microseconds(micros), quantum);
}

std::int64_t LinkSession::timeAtBeat(double beat, double quantum) const {
  if (!state_->session) return nowMicros();
  return state_->session->timeAtBeat(beat, quantum).count();
}

void LinkSession::setTempo(double bpm, std::int64_t atMicros) {
  if (!state_->link) {
    // Not built yet: the first enable builds it, and the program's start()
    // sets the tempo again then.
    return;
  }
  if (!state_->session) capture();
  state_->session->setTempo(bpm, microseconds(atMicros));
  state_->link->commitAppSessionState(*state_->session);
}

}  // namespace platform::link
