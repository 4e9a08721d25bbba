#pragma once
// The millisecond clock of an offline render: it reads the time of the
// current frame of a virtual 60 Hz display, in whole milliseconds as the
// real clock gives them (0, 16, 33, 50, 66, 83, 100, ...), after a start
// reading like a machine's uptime, so the first tick counts a beat just as
// the first tick of a live run does.
#include <cstdint>

#include "platform/api/clock.h"

namespace tidewell::render {

class FrameClock : public platform::Clock {
 public:
  static constexpr int kFramesPerSecond = 60;
  // Any reading beyond the longest beat interval (6 s at tempo 10) and the
  // capture-file step of 2 s will do.
  static constexpr std::uint32_t kStartReading = 10000;

  // Milliseconds from the render's start to frame n.
  static std::uint64_t frameTime(std::uint64_t frame) { return frame * 1000 / kFramesPerSecond; }

  void setFrame(std::uint64_t frame) { frame_ = frame; }
  std::uint32_t timeGetTime() override {
    return kStartReading + static_cast<std::uint32_t>(frameTime(frame_));
  }

 private:
  std::uint64_t frame_ = 0;
};

}  // namespace tidewell::render
