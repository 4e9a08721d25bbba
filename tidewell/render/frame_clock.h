#pragma once
// The clock of an offline render: it reads the time of the current frame of
// a virtual 60 Hz display, n x 1000/60 ms with its fraction (whole
// milliseconds 0, 16, 33, 50, 66, 83, 100, ... as the real clock gives them),
// after a start reading like a machine's uptime, so that the first tick
// counts a beat just as the first tick of a live run does.
#include <cstdint>

#include "platform/api/clock.h"

namespace tidewell::render {

class FrameClock : public platform::Clock {
 public:
  static constexpr int kFramesPerSecond = 60;
  // Output frames of 48 kHz sound per display frame: exactly 800.
  static constexpr std::uint64_t kOutputFramesPerFrame = 48000 / kFramesPerSecond;
  // Any reading beyond the longest beat interval (6 s at tempo 10) and the
  // capture-file step of 2 s will do.
  static constexpr std::uint32_t kStartReading = 10000;

  void setFrame(std::uint64_t frame) { frame_ = frame; }
  // The output frame of the current frame's time: 48 x the milliseconds run.
  std::uint64_t outputFrame() const { return frame_ * kOutputFramesPerFrame; }
  double preciseTime() override {
    return kStartReading + static_cast<double>(frame_ * 1000) / kFramesPerSecond;
  }
  std::uint32_t timeGetTime() override { return static_cast<std::uint32_t>(preciseTime()); }

 private:
  std::uint64_t frame_ = 0;
};

}  // namespace tidewell::render
