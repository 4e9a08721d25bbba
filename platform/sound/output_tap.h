#pragma once
// A listener on the mixer's finished output: it sees every block exactly as
// the sound card gets it (after mute and limiter). Called on the audio
// thread, so it must copy and return: no lock, no allocation, no I/O.
namespace platform::sound {

class OutputTap {
 public:
  virtual ~OutputTap() = default;
  virtual void onOutput(const float* stereo, int frames) noexcept = 0;
};

}  // namespace platform::sound
