// The beat clock's rules side by side, over the same simulated machine: a
// display presenting at 60 Hz (each tick a little late by a random amount)
// and a sound card taking 512-frame blocks at exactly 48 kHz (each callback a
// little late by a random amount). For each tempo it reports the mean beat
// spacing against 60000 / tempo and the onsets' distance from the fitted grid,
// measured to the frame in the rendered output, for
//   - the program: the Sequencer itself (the remainder carried into the next
//     beat, hits at the ideal time plus the lookahead through playAfter, the
//     output clock's estimate as the mixer's frame clock);
//   - the same with a lookahead shorter than a frame (12 ms);
//   - the same without the output clock (frameNow() is the rendered count,
//     which moves a block at a time);
//   - the old rule: the time beyond the interval dropped, whole milliseconds,
//     each hit started at once (at the next block).
//   beat_rules_bench [SECONDS] [TICK_JITTER_MS] [CALLBACK_JITTER_MS]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "platform/api/clock.h"
#include "platform/fake/fake_file_finder.h"
#include "platform/sound/mixer.h"
#include "platform/sound/output_clock.h"
#include "platform/sound/software_sound.h"
#include "tidewell/common/random.h"
#include "tidewell/engine/engine.h"
#include "tidewell/sequencer/sequencer.h"
#include "tools/beat_grid/beat_grid.h"

namespace {

constexpr int kRate = platform::sound::Mixer::kOutputRate;
constexpr int kBlock = 512;
constexpr double kFrameMs = 1000.0 / 60.0;

// The simulated wall clock, read by the sequencer.
class VirtualClock : public platform::Clock {
 public:
  std::uint32_t timeGetTime() override { return static_cast<std::uint32_t>(now); }
  double preciseTime() override { return now; }
  double now = 1000.0;
};

// One period of a square wave: full level from its first frame.
void writeClick(const char* path) {
  const int frames = 48;
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  out.write("RIFF", 4);
  put(36 + frames * 2, 4);
  out.write("WAVEfmt ", 8);
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(kRate, 4);
  put(kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  out.write("data", 4);
  put(frames * 2, 4);
  for (int i = 0; i < frames; ++i) put(static_cast<std::uint16_t>(i < frames / 2 ? 29000 : -29000), 2);
}

enum class Rule { kProgram, kShortLookahead, kRenderedCount, kOldRule };

struct Machine {
  double tickJitterMs;
  double callbackJitterMs;
};

struct Result {
  beat_grid::GridFit fit;
  double intervalMs;
};

// Runs `seconds` of the simulated machine under one rule and fits the onsets.
Result run(Rule rule, float tempo, double seconds, const Machine& machine) {
  tidewell::randomGenerator().reset();
  auto mixer = std::make_shared<platform::sound::Mixer>();
  platform::sound::SoftwareSoundSystem sound(mixer);
  platform::sound::OutputClock outputClock(kRate);
  VirtualClock clock;
  if (rule == Rule::kProgram || rule == Rule::kShortLookahead) {
    mixer->setFrameClock([&] { return outputClock.frameAt(clock.now, mixer->framesRendered()); });
  }
  platform::fake::FakeFileFinder files;
  files.setFolder("clicks/", {"click.wav"});
  tidewell::SequencerServices services{&sound, &clock, &files};
  tidewell::Sequencer sequencer(nullptr, services);
  auto picture = std::make_unique<tidewell::Picture>();
  tidewell::VoiceAndCross heardAndSeen(*picture);
  sequencer.hitSinks.attach(&heardAndSeen);
  std::snprintf(sequencer.folder, sizeof sequencer.folder, "clicks/");
  sequencer.activeTrackCount = 8;
  sequencer.behaviour = 3;
  sequencer.waveform = 1;
  sequencer.beatsPerBar = 4;
  sequencer.setTempo(tempo);
  if (rule == Rule::kShortLookahead) sequencer.startLookaheadMs = 12.0;
  sequencer.loadAllSamples();
  sequencer.prepareBehaviour();
  // The old rule plays one buffer of the click at once on each beat.
  platform::SoundBufferRef oldClick = sequencer.tracks[0].buffers.empty() ? nullptr : sequencer.tracks[0].buffers[0];
  std::uint32_t oldLast = 0, oldElapsed = 0;

  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<float> output;
  std::vector<float> block(2 * kBlock);
  const double blockMs = kBlock * 1000.0 / kRate;
  const double start = clock.now;
  int frame = 0, callback = 0;
  double nextTick = start, nextCallback = start;
  while (clock.now < start + seconds * 1000.0) {
    if (nextCallback <= nextTick) {
      clock.now = nextCallback;
      outputClock.blockStarted(mixer->framesRendered(), kBlock, clock.now);
      mixer->render(kBlock, block.data());
      output.insert(output.end(), block.begin(), block.end());
      ++callback;
      nextCallback = start + callback * blockMs + unit(random) * machine.callbackJitterMs;
    } else {
      clock.now = nextTick;
      if (rule == Rule::kOldRule) {
        const auto now = static_cast<std::uint32_t>(clock.now);
        oldElapsed += now - oldLast;
        oldLast = now;
        if (static_cast<float>(oldElapsed) > sequencer.beatInterval) {
          oldElapsed = 0;
          if (oldClick) {
            oldClick->stop();
            oldClick->play(0, 0, 0);
          }
        }
      } else {
        sequencer.tick();
      }
      ++frame;
      nextTick = start + frame * kFrameMs + unit(random) * machine.tickJitterMs;
    }
  }
  // The card plays frame f at f / 48 ms: the onsets in milliseconds, past the first second.
  std::vector<double> onsetMs;
  for (const std::int64_t f : beat_grid::findOnsets(output, 2, 0.02f, kRate / 50)) {
    if (f > kRate) onsetMs.push_back(static_cast<double>(f) * 1000.0 / kRate);
  }
  return {beat_grid::fitGrid(onsetMs, sequencer.beatInterval), sequencer.beatInterval};
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
  const Machine machine{argc > 2 ? std::atof(argv[2]) : 2.0, argc > 3 ? std::atof(argv[3]) : 2.0};
  const auto dir = std::filesystem::temp_directory_path() / ("beat_rules_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "clicks");
  std::filesystem::current_path(dir);
  writeClick("clicks/click.wav");

  std::printf("%.0f s at 60 Hz, ticks up to %.1f ms late, callbacks up to %.1f ms late; lookahead %.1f ms\n", seconds,
              machine.tickJitterMs, machine.callbackJitterMs, tidewell::kStartLookaheadMs);
  std::printf("%-6s %-22s %11s %11s %9s %9s %8s\n", "tempo", "rule", "want ms", "spacing ms", "error %", "rms ms",
              "worst ms");
  const struct {
    Rule rule;
    const char* name;
  } rules[] = {{Rule::kProgram, "program"},
               {Rule::kShortLookahead, "lookahead 12 ms"},
               {Rule::kRenderedCount, "without output clock"},
               {Rule::kOldRule, "old rule"}};
  for (const float tempo : {60.0f, 600.0f, 690.0f, 700.0f, 1000.0f}) {
    for (const auto& r : rules) {
      const Result result = run(r.rule, tempo, seconds, machine);
      std::printf("%-6.0f %-22s %11.3f %11.3f %+9.3f %9.3f %8.3f\n", tempo, r.name, result.intervalMs,
                  result.fit.periodMs, (result.fit.periodMs / result.intervalMs - 1.0) * 100.0, result.fit.rmsMs,
                  result.fit.worstMs);
    }
  }
  std::filesystem::current_path("/");
  std::filesystem::remove_all(dir);
  return 0;
}
