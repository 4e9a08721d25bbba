#pragma once
// What decides that a beat is due and when it was ideally heard. The
// sequencer asks once a tick; the tempo is read and set through it.
namespace tidewell {

// Milliseconds per beat at a tempo in beats per minute.
inline float beatIntervalFor(float tempo) { return 1000.0f / (tempo / 60.0f); }

struct BeatTick {
  double reading = 0.0;  // the tick's clock reading in milliseconds
  double stepMs = 0.0;   // time since the previous tick
};

class BeatSource {
 public:
  virtual ~BeatSource() = default;
  // At most one beat a tick.
  virtual bool beatDue(const BeatTick& tick) = 0;
  // How long after the due beat's ideal time this tick came, in milliseconds.
  virtual double beatLateness() const = 0;
  // The due beat's ideal time on the source's own timeline, in milliseconds.
  virtual double beatTime() const = 0;
  virtual float tempo() const = 0;
  virtual void setTempo(float tempo) = 0;
};

// The beat clock: a beat whenever more than an interval has passed, the rest
// carried on; its state is the sequencer's tempo, beatInterval and beatElapsed.
class ClockBeatSource : public BeatSource {
 public:
  ClockBeatSource(float& tempo, float& beatInterval, double& beatElapsed)
      : tempo_(tempo), beatInterval_(beatInterval), beatElapsed_(beatElapsed) {}
  bool beatDue(const BeatTick& tick) override;
  double beatLateness() const override { return lateness_; }
  double beatTime() const override { return beatTime_; }
  float tempo() const override { return tempo_; }
  void setTempo(float tempo) override {
    tempo_ = tempo;
    beatInterval_ = beatIntervalFor(tempo);
  }

 private:
  float& tempo_;
  float& beatInterval_;
  double& beatElapsed_;
  double lateness_ = 0.0;  // 0 before the first beat, and for a beat that started afresh
  double beatTime_ = 0.0;
};

}  // namespace tidewell
