#pragma once
// The mixer's inner loops: one voice resampled through a kernel table and
// added into the stereo output. They run on the audio thread: no locks, no
// allocation, no bounds checks (the sample's padding covers the kernel).
#include <cstdint>

#include "platform/sound/sinc_kernel.h"

namespace platform::sound {

struct VoiceSpan {
  const float* data = nullptr;  // the sample's first real frame, channels interleaved
  std::uint64_t position = 0;   // 32.32 fixed point, in the sample's frames
  std::uint64_t step = 0;       // position advance per output frame
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
};

// Adds `frames` output frames to out (interleaved left, right). The caller
// keeps every position read inside the sample and its padding.
void addMonoVoice(const KernelTable& kernel, const VoiceSpan& span, int frames, float* out);
void addStereoVoice(const KernelTable& kernel, const VoiceSpan& span, int frames, float* out);

}  // namespace platform::sound
