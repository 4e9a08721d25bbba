#include "tidewell/midi/midi_sender.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "tidewell/midi/midi_mapping.h"

namespace tidewell::midi {
namespace {

constexpr std::uint8_t kClock = 0xF8;
constexpr std::uint8_t kStart = 0xFA;
constexpr std::uint8_t kStop = 0xFC;
constexpr std::uint64_t kRetryFrames = 3 * kFramesPerSecond;
// How often the thread looks at the ring while it has nothing due sooner.
constexpr std::uint64_t kPollFrames = kFramesPerSecond / 1000;
constexpr std::uint64_t kIdleFrames = kFramesPerSecond / 50;

}  // namespace

MidiSender::MidiSender(platform::MidiPortOpener opener, std::string portName, std::function<void()> onThreadStart)
    : opener_(opener), onThreadStart_(std::move(onThreadStart)), portName_(std::move(portName)), thread_([this] {
        if (onThreadStart_) onThreadStart_();
        run();
      }) {}

MidiSender::~MidiSender() {
  quit_.store(true);
  thread_.join();
}

std::uint64_t MidiSender::framesNow() {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  return static_cast<std::uint64_t>(ns) / 1000 * kFramesPerSecond / 1000000;
}

void MidiSender::setEnabled(bool on, platform::MidiService service) {
  service_.store(static_cast<int>(service), std::memory_order_relaxed);
  enabled_.store(on);
}

bool MidiSender::post(const MidiHit& hit) { return hits_.push(hit); }

std::vector<std::string> MidiSender::takeReports() {
  std::vector<std::string> taken;
  std::unique_lock<std::mutex> lock(reportsMutex_, std::try_to_lock);
  if (lock.owns_lock()) taken.swap(reports_);
  return taken;
}

void MidiSender::report(std::string line) {
  std::lock_guard<std::mutex> lock(reportsMutex_);
  reports_.push_back(std::move(line));
}

void MidiSender::send(const std::vector<TimedMessage>& messages) {
  if (!port_) return;
  for (const TimedMessage& m : messages) port_->sendAt(m.bytes, m.size, m.frame);
}

void MidiSender::openPort(std::uint64_t now) {
  nextAttempt_ = now + kRetryFrames;
  std::string error;
  port_ = opener_(portName_, static_cast<platform::MidiService>(service_.load()), &error);
  if (!port_) {
    // One line for a missing service; the retries stay quiet.
    if (!failureReported_) report("MIDI out: " + error + "; the music plays on without MIDI");
    failureReported_ = true;
    return;
  }
  failureReported_ = false;
  report("MIDI out: port " + portName_ + " open on " + port_->serviceName());
  notes_.forgetChannelState();
  const std::uint8_t start = kStart;
  port_->send(&start, 1);
  nextClock_ = static_cast<double>(now);
  connected_.store(true);
}

void MidiSender::closePort(std::uint64_t now) {
  std::vector<TimedMessage> offs;
  notes_.releaseAll(now, offs);
  send(offs);
  const std::uint8_t stop = kStop;
  if (port_) port_->send(&stop, 1);
  port_.reset();
  connected_.store(false);
}

void MidiSender::run() {
  std::vector<TimedMessage> out;
  auto later = [](const MidiHit& a, const MidiHit& b) { return a.startFrame > b.startFrame; };
  while (!quit_.load()) {
    std::uint64_t now = framesNow();
    const bool wanted = enabled_.load();

    MidiHit hit;
    while (hits_.pop(&hit)) {
      if (wanted) {
        pending_.push_back(hit);
        std::push_heap(pending_.begin(), pending_.end(), later);
      }
    }

    if (wanted && !port_ && now >= nextAttempt_) openPort(now);
    if (port_ && !port_->alive()) {
      report("MIDI out: the " + port_->serviceName() + " went away; MIDI resumes when it is back");
      port_.reset();
      connected_.store(false);
      failureReported_ = true;
      nextAttempt_ = now + kRetryFrames;
    }
    if (!wanted) {
      pending_.clear();
      if (port_) closePort(now);
      failureReported_ = false;
      nextAttempt_ = 0;
    }

    // A port that places messages on their frames takes them `lead` ahead;
    // others get each at its time.
    const std::uint64_t lead = port_ ? port_->leadFrames() : 0;
    const std::uint64_t horizon = now + lead;

    // Hits due by the horizon, in time order; each first ends the notes due by its start.
    out.clear();
    while (!pending_.empty() && pending_.front().startFrame <= horizon) {
      std::pop_heap(pending_.begin(), pending_.end(), later);
      notes_.addHit(pending_.back(), out);
      pending_.pop_back();
    }
    notes_.releaseUntil(horizon, out);

    std::uint64_t wake = now + (wanted ? kPollFrames : kIdleFrames);
    if (port_) {
      const double interval = clockIntervalMs(tempo_.load(std::memory_order_relaxed));
      if (interval > 0.0) {
        const double step = interval * kFramesPerSecond / 1000.0;
        // A clock that fell far behind (a stalled machine) starts afresh.
        if (static_cast<double>(now) - nextClock_ > step) nextClock_ = static_cast<double>(now);
        while (nextClock_ <= static_cast<double>(horizon)) {
          TimedMessage clock;
          clock.frame = static_cast<std::uint64_t>(std::ceil(nextClock_));
          clock.size = 1;
          clock.bytes[0] = kClock;
          out.push_back(clock);
          nextClock_ += step;
        }
        wake = std::min(wake, static_cast<std::uint64_t>(std::ceil(nextClock_)) - lead);
      }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.frame < b.frame; });
    send(out);

    if (!pending_.empty()) wake = std::min(wake, pending_.front().startFrame - std::min(lead, pending_.front().startFrame));
    now = framesNow();
    if (wake > now) {
      std::this_thread::sleep_for(std::chrono::microseconds((wake - now) * 1000000 / kFramesPerSecond));
    }
  }
  if (port_) closePort(framesNow());
}

}  // namespace tidewell::midi
