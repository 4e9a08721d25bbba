#include "tidewell/render/offline_render.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/path_kind.h"
#include "platform/posix/posix_file_finder.h"
#include "platform/posix/termination_signals.h"
#include "platform/sound/mixer.h"
#include "platform/sound/software_sound.h"
#include "tidewell/engine/engine.h"
#include "tidewell/midi/standard_midi_file.h"
#include "tidewell/recording/float_wave_file.h"
#include "tidewell/render/frame_clock.h"
#include "tidewell/render/midi_file_sink.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell::render {
namespace {

using recording::FloatWaveFile;
constexpr int kOutputRate = platform::sound::Mixer::kOutputRate;
constexpr int kBlockFrames = 1024;
constexpr std::uint64_t kMixerLatency = platform::sound::Mixer::kLatencyFrames;

bool isFolder(const std::string& path) {
  return platform::posix::pathKind(path) == platform::posix::PathKind::kFolder;
}

// The folder the sample supply will list, or null when it takes no folder.
const char* sampleFolder(const Sequencer& s) {
  if (s.inputFormat == 1) return s.folder;
  if (s.inputFormat == 2) return "autoaudio/";
  return nullptr;
}

// The engine over a software mixer, a virtual clock and the real folder
// listing; no window, no display, no sound card, and no log: the start-up
// lines a live run writes to its debug log are not written anywhere.
class HeadlessEngine {
 public:
  HeadlessEngine()
      : mixer_(std::make_shared<platform::sound::Mixer>()), sound_(mixer_),
        engine_(*picture_, nullptr, {&sound_, &clock_, &files_}, kSettingsPath, nullptr) {
    // "Now", for hits scheduled from a tick, is exactly the frame's time.
    mixer_->setFrameClock([this] { return clock_.outputFrame(); });
    picture_->rippleEnabled = 0;  // no one sees the picture: its wave step, the costly part, is left out
  }

  // One frame of the frame loop: the engine's step on the frame's time.
  void runFrame(std::uint64_t frame) {
    clock_.setFrame(frame);
    engine_.step();
  }
  platform::sound::Mixer& mixer() { return *mixer_; }
  Sequencer& sequencer() { return *engine_.sequencer; }
  std::uint64_t outputFrame() const { return clock_.outputFrame(); }

 private:
  std::shared_ptr<platform::sound::Mixer> mixer_;
  platform::sound::SoftwareSoundSystem sound_;
  FrameClock clock_;
  platform::posix::PosixFileFinder files_;
  std::unique_ptr<Picture> picture_ = std::make_unique<Picture>();
  Engine engine_;  // its buffers go before the mixer they play on
};

class ProgressReport {
 public:
  ProgressReport(std::FILE* messages, const std::string& path, std::uint64_t total)
      : messages_(messages), path_(path), total_(total), last_(std::chrono::steady_clock::now()) {}

  // At most once a second, so short renders stay quiet.
  void update(std::uint64_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::seconds(1)) return;
    last_ = now;
    std::fprintf(messages_, "tidewell: rendering %s: %.0f of %.0f s (%d%%)\n", path_.c_str(),
                 static_cast<double>(done) / kOutputRate, static_cast<double>(total_) / kOutputRate,
                 static_cast<int>(100 * done / total_));
    std::fflush(messages_);
  }

 private:
  std::FILE* messages_;
  std::string path_;
  std::uint64_t total_;
  std::chrono::steady_clock::time_point last_;
};

// Renders the mixer up to `upTo` frames into the file; false on a failed write.
bool pullMixer(platform::sound::Mixer& mixer, std::uint64_t upTo, std::uint64_t* done,
               std::vector<float>& block, FloatWaveFile& file) {
  while (*done < upTo) {
    const int frames = static_cast<int>(std::min<std::uint64_t>(kBlockFrames, upTo - *done));
    mixer.render(frames, block.data());
    if (!file.append(block.data(), static_cast<std::uint64_t>(frames))) return false;
    *done += static_cast<std::uint64_t>(frames);
  }
  return true;
}

// The render itself into an open file, and into *midiBytes the same hits as
// a MIDI file when asked for one; false with *error saying why when it failed.
bool renderFrames(std::uint64_t totalFrames, FloatWaveFile& file, const std::string& outPath,
                  std::FILE* messages, std::vector<std::uint8_t>* midiBytes, std::string* error) {
  HeadlessEngine engine;
  if (const char* folder = sampleFolder(engine.sequencer()); folder != nullptr && !isFolder(folder)) {
    *error = std::string("the sample folder '") + folder + "' named by " + kSettingsPath + " does not exist";
    return false;
  }
  MidiFileSink midi([&engine] { return engine.outputFrame(); });
  if (midiBytes != nullptr) engine.sequencer().hitSinks.attach(&midi);
  struct Detach {
    HeadlessEngine& engine;
    MidiFileSink* sink;
    ~Detach() { engine.sequencer().hitSinks.detach(sink); }
  } detach{engine, &midi};
  std::vector<float> block(2 * kBlockFrames);
  ProgressReport progress(messages, outPath, totalFrames);
  std::uint64_t done = 0;
  for (std::uint64_t frame = 0;; ++frame) {
    // The mixer has mixed what it rendered plus its latency (the limiter's
    // look-ahead); pulled that much short of this frame's time, it has mixed
    // exactly up to it, so every hit the tick schedules from "now" on lands
    // on its own frame.
    const std::uint64_t due = frame * FrameClock::kOutputFramesPerFrame;
    const std::uint64_t upTo = std::min(totalFrames, due > kMixerLatency ? due - kMixerLatency : 0);
    if (!pullMixer(engine.mixer(), upTo, &done, block, file)) {
      *error = "cannot write " + outPath + ": " + std::strerror(errno);
      return false;
    }
    if (done >= totalFrames) {
      if (midiBytes != nullptr) {
        const Sequencer& s = engine.sequencer();
        *midiBytes = midi.finish(totalFrames, s.tempo, s.activeTrackCount);
      }
      return true;
    }
    if (platform::posix::terminationRequested()) {
      *error = "stopped by a termination signal";
      return false;
    }
    engine.runFrame(frame);
    progress.update(done);
  }
}

}  // namespace

int renderToFile(const RenderRequest& request, std::FILE* messages) {
  const std::string& out = request.outputPath;
  auto fail = [messages](const std::string& text, int code) {
    std::fprintf(messages, "tidewell: %s\n", text.c_str());
    return code;
  };
  const std::uint64_t totalFrames =
      std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::llround(request.seconds * kOutputRate)));
  if (totalFrames > FloatWaveFile::kMaxFrames) {
    return fail("--render: a WAV file holds at most " +
                    std::to_string(FloatWaveFile::kMaxFrames / kOutputRate) +
                    " seconds of 48 kHz stereo float sound; ask for less or render in parts",
                2);
  }
  if (std::FILE* settings = std::fopen(kSettingsPath, "r")) {
    std::fclose(settings);
  } else {
    return fail(std::string("cannot read ") + kSettingsPath + ": " + std::strerror(errno) +
                    " (run in the working directory that holds data/)",
                1);
  }
  if (isFolder(out)) return fail("cannot write " + out + ": it is a folder", 1);

  // Written under a temporary name beside the target and renamed when whole.
  const std::string partPath = out + ".part-" + std::to_string(::getpid());
  FloatWaveFile file;
  if (!file.open(partPath)) return fail("cannot write " + out + ": " + std::strerror(errno), 1);
  // The MIDI file's place is tried before any work, and it too is renamed
  // into place only once whole.
  const bool wantMidi = !request.midiPath.empty();
  midi::WholeFile midiFile;
  std::string midiError;
  if (wantMidi && (isFolder(request.midiPath) || !midiFile.open(request.midiPath, &midiError))) {
    file.finish();
    ::unlink(partPath.c_str());
    if (midiError.empty()) midiError = "cannot write " + request.midiPath + ": it is a folder";
    return fail(midiError, 1);
  }
  std::vector<std::uint8_t> midiBytes;

  platform::posix::catchTerminationSignals();
  std::string error;
  bool ok = renderFrames(totalFrames, file, out, messages, wantMidi ? &midiBytes : nullptr, &error);

  if (!file.finish() && ok) {
    error = "cannot write " + out + ": " + std::strerror(errno);
    ok = false;
  }
  if (ok && wantMidi) ok = midiFile.commit(midiBytes, &error);
  if (ok && std::rename(partPath.c_str(), out.c_str()) != 0) {
    error = "cannot write " + out + ": " + std::strerror(errno);
    ok = false;
    if (wantMidi) ::unlink(request.midiPath.c_str());
  }
  if (!ok) {
    ::unlink(partPath.c_str());
    return fail(error, 1);
  }
  return 0;
}

}  // namespace tidewell::render
