#pragma once
// The shared timeline over an Ableton Link session. Link's own threads do
// the network; the main thread only copies the session's state (a short
// copy under Link's lock, never a wait on the network) and commits a tempo.
// Nothing here is for the audio thread.
//
// Link is built on the first enable, so a run that never shares the tempo
// starts no threads and opens no sockets.
#include <memory>
#include <optional>

#include "platform/api/shared_timeline.h"

namespace platform::link {

class LinkSession : public SharedTimeline {
 public:
  LinkSession();
  ~LinkSession() override;
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  bool enable(bool on, std::string* problem) override;
  bool enabled() const override;
  int peerCount() const override;
  std::int64_t nowMicros() const override;
  void capture() override;
  double tempo() const override;
  double beatAtTime(std::int64_t micros, double quantum) const override;
  double phaseAtTime(std::int64_t micros, double quantum) const override;
  std::int64_t timeAtBeat(double beat, double quantum) const override;
  void setTempo(double bpm, std::int64_t atMicros) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform::link
