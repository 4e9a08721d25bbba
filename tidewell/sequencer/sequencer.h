#pragma once
// The main program's one engine object: the audio device, the twenty tracks,
// every sequencer parameter and the clock's bookkeeping.
#include <cstdint>
#include <memory>

#include "platform/api/clock.h"
#include "platform/api/file_finder.h"
#include "platform/api/sound.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/beat_source.h"
#include "tidewell/sequencer/hit_sink.h"
#include "tidewell/sequencer/track.h"

namespace tidewell {

constexpr int kTrackCount = 20;
constexpr int kFolderSize = 128;
constexpr std::int32_t kVolumeFloor = -2500;

// The platform services the engine reaches through narrow interfaces.
struct SequencerServices {
  platform::SoundSystem* sound = nullptr;
  platform::Clock* clock = nullptr;
  platform::FileFinder* files = nullptr;
};

// Every hit of a beat starts this long after the beat's ideal time (the
// moment the elapsed time crossed the interval), at that exact output frame.
// A tick comes less than one tick's spacing after the ideal time, and the
// sound layer never places "now" on a frame already rendered, so one frame
// period at 60 Hz keeps every hit on its frame unless a frame was missed;
// bench/timing measures it.
constexpr double kStartLookaheadMs = 1000.0 / 60.0;

class Sequencer {
 public:
  Sequencer(platform::WindowHandle window, const SequencerServices& services);
  ~Sequencer();
  Sequencer(const Sequencer&) = delete;
  Sequencer& operator=(const Sequencer&) = delete;

  // Start-up placement of pan and pitch for the chosen behaviour.
  void prepareBehaviour();

  // Clock and behaviours.
  void tick();
  void playRandomBeat();
  void playSlidingBeat();
  void playTonalBeat();

  // Sample supply.
  void pickSample(int trackIndex);
  void loadAllSamples();

  // How long after this beat's ideal time the tick that counted it came, in
  // milliseconds (0 before the first beat, and for a beat that started the
  // clock afresh).
  double beatLateness() const { return beatSource_->beatLateness(); }

  // Sets the tempo through the beat source; tempo and beatInterval follow.
  void setTempo(float newTempo) {
    beatSource_->setTempo(newTempo);
    tempo = beatSource_->tempo();
    beatInterval = beatIntervalFor(tempo);
  }
  // Another beat source in place of the clock (null: the clock again).
  void useBeatSource(BeatSource* source) { beatSource_ = source != nullptr ? source : &clockBeats_; }
  BeatSource& beatSource() { return *beatSource_; }

  // Every sounding hit goes to each sink attached here.
  HitFanOut hitSinks;

  std::unique_ptr<AudioDevice> audioDevice;
  Track tracks[kTrackCount];
  std::int32_t activeTrackCount = 4;
  std::int32_t behaviour = 3;
  float pitchStep = 1.5f;
  std::int32_t inputFormat = 1;
  std::int32_t captureFileIndex = 0;
  std::int32_t behaviourMutation = 0;
  std::int32_t timeSignatureMutation = 0;
  std::int32_t waveformMutation = 0;
  std::int32_t paletteChangeChance = 20;
  std::uint32_t lastTickTime = 0;
  std::uint32_t tickTime = 0;
  std::uint32_t tickDelta = 0;
  double beatElapsed = 0.0;  // milliseconds with their fraction
  std::uint32_t captureElapsed = 0;
  float beatInterval = 0.0f;
  std::int32_t beatIndex = 1;
  float tempo = 900.0f;
  std::int32_t beatsPerBar = 8;
  // The folder listing shared by all tracks: kNoSearch when none is open,
  // kInvalidSearch after a failed start (final for the run).
  platform::SearchHandle searchHandle = platform::kNoSearch;
  std::int32_t waveform = 1;
  char folder[kFolderSize] = {};
  double startLookaheadMs = kStartLookaheadMs;  // a bench may try others

 private:
  // activeTrackCount held within the twenty tracks, for every loop over them.
  int activeTracks() const;
  // Hands one sounding hit of the track at `index` to the sinks.
  void fire(Track& track, int index);
  double startDelay() const;
  void driftVolumes();
  void mutate();

  platform::Clock* clock_;
  platform::FileFinder* files_;
  double lastTickFraction_ = 0.0;  // the fraction of a millisecond of lastTickTime
  ClockBeatSource clockBeats_{tempo, beatInterval, beatElapsed};
  BeatSource* beatSource_ = &clockBeats_;
};

}  // namespace tidewell
