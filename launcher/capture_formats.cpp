#include "launcher/capture_formats.h"

#include <cstdio>

namespace launcher {

void formatFromIndex(int index, platform::WaveFormatEx* format) {
  static const std::uint32_t kRates[4] = {8000, 11025, 22050, 44100};
  const int kind = index % 4;
  format->samplesPerSec = kRates[(index / 4) & 3];
  format->bitsPerSample = (kind == 1 || kind == 3) ? 16 : 8;
  format->channels = (kind >= 2) ? 2 : 1;
  format->blockAlign = static_cast<std::uint16_t>(format->channels * (format->bitsPerSample / 8));
  format->avgBytesPerSec = format->blockAlign * format->samplesPerSec;
}

std::string describeFormat(const platform::WaveFormatEx& format) {
  char text[64];
  std::snprintf(text, sizeof text, "%u Hz, %u-bit %s", static_cast<unsigned>(format.samplesPerSec),
                static_cast<unsigned>(format.bitsPerSample),
                format.channels == 1 ? "Mono" : "Stereo");
  return text;
}

std::uint32_t notifySizeFor(const platform::WaveFormatEx& format) {
  std::uint32_t size = format.avgBytesPerSec / 8;
  if (size < 1024) size = 1024;
  if (format.blockAlign > 0) size -= size % format.blockAlign;
  return size;
}

}  // namespace launcher
