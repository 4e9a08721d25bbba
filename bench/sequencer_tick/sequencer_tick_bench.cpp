// A tick between beats should cost about what its unavoidable parts cost: one
// clock read and the two mutation draws. The reference does exactly those.
#include <benchmark/benchmark.h>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_file_finder.h"
#include "platform/fake/recording_sound.h"
#include "tidewell/common/random.h"
#include "tidewell/engine/engine.h"
#include "tidewell/sequencer/sequencer.h"

namespace {

void BM_TickBetweenBeats(benchmark::State& state) {
  tidewell::randomGenerator().reset();
  platform::fake::FakeClock clock;
  platform::fake::FakeFileFinder files;
  platform::fake::RecordingSoundSystem sound;
  tidewell::Sequencer sequencer(nullptr, {&sound, &clock, &files});
  auto picture = std::make_unique<tidewell::Picture>();
  tidewell::VoiceAndCross heardAndSeen(*picture);
  sequencer.hitSinks.attach(&heardAndSeen);
  sequencer.activeTrackCount = 8;
  sequencer.setTempo(10.0f);  // 6000 ms a beat: none comes while the clock creeps
  std::uint32_t frames = 0;
  for (auto _ : state) {
    if ((++frames & 0xFF) == 0) sequencer.beatElapsed = 0;  // keep clear of the next beat
    clock.advance(1);
    sequencer.tick();
    benchmark::DoNotOptimize(sequencer.beatElapsed);
  }
}
BENCHMARK(BM_TickBetweenBeats);

void BM_ReferenceClockReadAndTwoDraws(benchmark::State& state) {
  tidewell::randomGenerator().reset();
  platform::fake::FakeClock clock;
  platform::Clock* read = &clock;
  for (auto _ : state) {
    clock.advance(1);
    benchmark::DoNotOptimize(read->timeGetTime());
    benchmark::DoNotOptimize(tidewell::drawRandom() % 1000);
    benchmark::DoNotOptimize(tidewell::drawRandom() % 1000);
  }
}
BENCHMARK(BM_ReferenceClockReadAndTwoDraws);

}  // namespace
