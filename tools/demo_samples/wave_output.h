#pragma once
// Writes a finished mono signal as a 16-bit PCM WAV file.
#include <cstdint>
#include <string>

#include "platform/api/result_codes.h"
#include "tools/demo_samples/synth/signal.h"

namespace demos {

platform::HResult writeMonoWave(const std::string& path, const Signal& samples, std::uint32_t sampleRate);

}  // namespace demos
