#include "tidewell/recording/recorder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/posix/path_kind.h"

namespace tidewell::recording {
namespace {

bool makeFolder(const std::string& folder, std::string* why) {
  if (::mkdir(folder.c_str(), 0777) == 0) return true;
  if (errno == EEXIST && platform::posix::pathKind(folder) == platform::posix::PathKind::kFolder) return true;
  *why = "cannot create the folder " + folder + ": " + std::strerror(errno == EEXIST ? ENOTDIR : errno);
  return false;
}

}  // namespace

std::string localTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

Recorder::Recorder(RecorderOptions options)
    : options_(std::move(options)),
      ring_(static_cast<std::size_t>(options_.ringSeconds * kWaveRate) * kWaveChannels) {
  if (!options_.timeStamp) options_.timeStamp = localTimeStamp;
}

Recorder::~Recorder() { stop(); }

void Recorder::report(const std::string& text) const {
  if (options_.log) options_.log(text);
}

void Recorder::toggleRecording() {
  if (state_.load() == RecordingState::recording) {
    stop();
  } else {
    start();
  }
}

// Two recordings started within the same second keep both files.
std::string Recorder::freshPath() const {
  const std::string stem = options_.folder + "/tidewell-" + options_.timeStamp();
  std::string path = stem + ".wav";
  for (int n = 2; platform::posix::pathKind(path) != platform::posix::PathKind::kMissing; ++n) path = stem + "-" + std::to_string(n) + ".wav";
  return path;
}

bool Recorder::start() {
  stop();
  std::string why;
  if (!makeFolder(options_.folder, &why)) {
    fail(why);
    return false;
  }
  path_ = freshPath();
  if (!file_.open(path_)) {
    fail("cannot write " + path_ + ": " + std::strerror(errno));
    return false;
  }
  ring_.discard();
  droppedReported_ = ring_.droppedSamples();
  stopRequested_.store(false);
  state_.store(RecordingState::recording);
  try {
    writer_ = std::thread(&Recorder::writerLoop, this);
  } catch (const std::system_error& error) {
    file_.finish();
    fail(std::string("cannot start the writer thread: ") + error.what());
    return false;
  }
  armed_.store(true);
  report("recording to " + path_);
  return true;
}

void Recorder::stop() {
  disarm();
  stopRequested_.store(true);
  if (writer_.joinable()) writer_.join();
  if (state_.load() == RecordingState::recording) state_.store(RecordingState::off);
}

// After this returns the audio thread copies nothing more until the next
// start: either it saw the flag down, or it was inside and has left.
void Recorder::disarm() {
  armed_.store(false);
  while (inTap_.load()) std::this_thread::yield();
}

void Recorder::onOutput(const float* stereo, int frames) noexcept {
  inTap_.store(true);
  if (armed_.load() && frames > 0) ring_.push(stereo, static_cast<std::size_t>(frames) * kWaveChannels);
  inTap_.store(false);
}

void Recorder::fail(const std::string& why) {
  disarm();
  // Logged before the state shows it, so whoever sees the failure finds its reason.
  report("recording stopped: " + why + "; the music goes on");
  state_.store(RecordingState::failed);
}

void Recorder::failWriting() {
  fail("cannot write " + path_ + " (disk full, or the file reached the largest size a WAV can have)");
}

bool Recorder::drain(float* scratch, std::size_t scratchSamples) {
  for (;;) {
    const std::size_t samples = ring_.pop(scratch, scratchSamples);
    if (samples == 0) break;
    if (!file_.append(scratch, samples / kWaveChannels)) {
      failWriting();
      return false;
    }
  }
  const std::uint64_t dropped = ring_.droppedSamples();
  if (dropped != droppedReported_) {
    report("recording: " + std::to_string((dropped - droppedReported_) / kWaveChannels) +
           " frames of sound dropped (the disk fell behind)");
    droppedReported_ = dropped;
  }
  return true;
}

void Recorder::writerLoop() {
  const std::size_t scratchSamples = 16384;
  std::unique_ptr<float[]> scratch(new float[scratchSamples]);
  auto lastRefresh = std::chrono::steady_clock::now();
  bool ok = true;
  while (ok && !stopRequested_.load()) {
    std::this_thread::sleep_for(options_.writerPause);
    ok = drain(scratch.get(), scratchSamples);
    const auto now = std::chrono::steady_clock::now();
    if (ok && now - lastRefresh >= options_.headerRefresh) {
      lastRefresh = now;
      if (!file_.refreshHeader()) {
        failWriting();
        ok = false;
      }
    }
  }
  if (ok) ok = drain(scratch.get(), scratchSamples);  // the blocks before the stop
  const double seconds = static_cast<double>(file_.frames()) / kWaveRate;
  const bool finished = file_.finish();
  if (ok && !finished) fail("cannot finish " + path_);
  if (ok && finished) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    report("recording finished: " + path_ + ", " + text);
  }
}

}  // namespace tidewell::recording
