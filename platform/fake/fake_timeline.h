#pragma once
// A shared timeline that a test moves by hand: its clock follows a fake
// millisecond clock (from another epoch, as a real one would), its beats run
// in a straight line at the session tempo, and a test can let a peer join
// with the session's own tempo and grid, change the tempo as a peer would,
// or take the network away.
//
//   platform::fake::FakeClock clock;
//   platform::fake::FakeTimeline timeline(&clock);
//   timeline.joinSession(140.0, 5.25);  // a peer at 140 BPM, now at beat 5.25
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/shared_timeline.h"
#include "platform/fake/fake_clock.h"

namespace platform::fake {

class FakeTimeline : public SharedTimeline {
 public:
  // The timeline's clock reads the fake clock's milliseconds, shifted by this.
  static constexpr std::int64_t kEpochOffsetMicros = 123'456'789;

  explicit FakeTimeline(FakeClock* clock, double tempo = 120.0);

  bool enable(bool on, std::string* problem) override;
  bool enabled() const override { return enabled_; }
  int peerCount() const override { return enabled_ ? peers_ : 0; }
  std::int64_t nowMicros() const override;
  void capture() override { ++captures_; }
  double tempo() const override { return tempo_; }
  double beatAtTime(std::int64_t micros, double quantum) const override;
  double phaseAtTime(std::int64_t micros, double quantum) const override;
  std::int64_t timeAtBeat(double beat, double quantum) const override;
  void setTempo(double bpm, std::int64_t atMicros) override;

  // What a test does as the rest of the session.
  void setNetworkUsable(bool usable) { networkUsable_ = usable; }
  // Peers appear: the session's tempo and beats win, the beat now becoming
  // `sessionBeat` (its phase against any quantum is then the session's).
  void joinSession(double sessionTempo, double sessionBeat, int peers = 1);
  // A peer changes the session's tempo now; the beat now stays where it is.
  void peerSetsTempo(double bpm) { setTempo(bpm, nowMicros()); }

  int captures() const { return captures_; }
  const std::vector<double>& temposAskedFor() const { return temposAskedFor_; }

 private:
  FakeClock* clock_;
  double tempo_;
  std::int64_t anchorMicros_ = 0;  // the line through (anchorMicros_, anchorBeat_)
  double anchorBeat_ = 0.0;
  bool enabled_ = false;
  bool networkUsable_ = true;
  int peers_ = 0;
  int captures_ = 0;
  std::vector<double> temposAskedFor_;
};

}  // namespace platform::fake
