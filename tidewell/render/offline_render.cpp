#include "tidewell/render/offline_render.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_file_finder.h"
#include "platform/posix/termination_signals.h"
#include "platform/sound/mixer.h"
#include "platform/sound/software_sound.h"
#include "tidewell/engine/engine.h"
#include "tidewell/recording/float_wave_file.h"
#include "tidewell/render/frame_clock.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell::render {
namespace {

using recording::FloatWaveFile;
constexpr int kOutputRate = platform::sound::Mixer::kOutputRate;
constexpr int kBlockFrames = 1024;
constexpr std::uint64_t kMixerLatency = platform::sound::Mixer::kLatencyFrames;

bool isFolder(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
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
  const Sequencer& sequencer() const { return *engine_.sequencer; }

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

// The render itself into an open file; an empty text when it went well.
std::string renderFrames(std::uint64_t totalFrames, FloatWaveFile& file, const std::string& outPath,
                         std::FILE* messages) {
  HeadlessEngine engine;
  if (const char* folder = sampleFolder(engine.sequencer()); folder != nullptr && !isFolder(folder)) {
    return std::string("the sample folder '") + folder + "' named by " + kSettingsPath + " does not exist";
  }
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
      return "cannot write " + outPath + ": " + std::strerror(errno);
    }
    if (done >= totalFrames) return "";
    if (platform::posix::terminationRequested()) return "stopped by a termination signal";
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
  if (isFolder(out.c_str())) return fail("cannot write " + out + ": it is a folder", 1);

  // Written under a temporary name beside the target and renamed when whole.
  const std::string partPath = out + ".part-" + std::to_string(::getpid());
  FloatWaveFile file;
  if (!file.open(partPath)) return fail("cannot write " + out + ": " + std::strerror(errno), 1);

  platform::posix::catchTerminationSignals();
  std::string error = renderFrames(totalFrames, file, out, messages);

  if (!file.finish() && error.empty()) error = "cannot write " + out + ": " + std::strerror(errno);
  if (error.empty() && std::rename(partPath.c_str(), out.c_str()) != 0) {
    error = "cannot write " + out + ": " + std::strerror(errno);
  }
  if (!error.empty()) {
    ::unlink(partPath.c_str());
    return fail(error, 1);
  }
  return 0;
}

}  // namespace tidewell::render
