#pragma once
// The sixteen capture formats: rate from index / 4 (8000, 11025, 22050,
// 44100 Hz), kind from index % 4 (8-bit mono, 16-bit mono, 8-bit stereo,
// 16-bit stereo).
#include <cstdint>
#include <string>

#include "platform/api/wave_format.h"

namespace launcher {

constexpr int kCaptureFormatCount = 16;

// Fills rate, bits, channels, block alignment and average bytes per second;
// the format tag and extra size stay as they are.
void formatFromIndex(int index, platform::WaveFormatEx* format);

// "%u Hz, %u-bit %s" with "Mono" for one channel, otherwise "Stereo".
std::string describeFormat(const platform::WaveFormatEx& format);

// An eighth of a second, at least 1024 bytes, rounded down to whole blocks.
std::uint32_t notifySizeFor(const platform::WaveFormatEx& format);

}  // namespace launcher
