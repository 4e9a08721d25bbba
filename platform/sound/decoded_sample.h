#pragma once
// A buffer's data as the mixer reads it: float frames, interleaved by
// channel, with silence before and after so the kernel needs no bounds checks.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sound/sample_format.h"

namespace platform::sound {

struct DecodedSample {
  int channels = 1;
  std::int64_t frames = 0;  // the buffer's own frames, without the padding
  int padding = 0;          // silent frames on each side
  std::vector<float> samples;

  // The first real frame.
  const float* start() const { return samples.data() + static_cast<std::size_t>(padding) * channels; }
};

// Every encoding lands on the same scale: full scale is +-1.0. Null when
// there is no memory for it.
std::shared_ptr<const DecodedSample> decodeSample(const std::uint8_t* bytes, std::uint32_t size,
                                                  const SampleLayout& layout);

}  // namespace platform::sound
