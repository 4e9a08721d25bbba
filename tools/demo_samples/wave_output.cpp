#include "tools/demo_samples/wave_output.h"

#include <vector>

#include "launcher/riff_wave_writer.h"
#include "platform/api/wave_format.h"
#include "tools/demo_samples/synth/finishing.h"

namespace demos {

platform::HResult writeMonoWave(const std::string& path, const Signal& samples, std::uint32_t sampleRate) {
  platform::WaveFormatEx format{};
  format.formatTag = platform::WAVE_FORMAT_PCM;
  format.channels = 1;
  format.samplesPerSec = sampleRate;
  format.bitsPerSample = 16;
  format.blockAlign = 2;
  format.avgBytesPerSec = sampleRate * 2;
  format.extraSize = 0;

  launcher::RiffWaveWriter writer;
  platform::HResult result = writer.open(path.c_str(), &format);
  if (result != 0) return result;

  // WAV data is little-endian; spell the bytes out rather than rely on the host.
  const std::vector<std::int16_t> pcm = toPcm16(samples);
  std::vector<std::uint8_t> bytes(pcm.size() * 2);
  for (std::size_t i = 0; i < pcm.size(); ++i) {
    const auto word = static_cast<std::uint16_t>(pcm[i]);
    bytes[2 * i] = static_cast<std::uint8_t>(word & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
  }
  std::uint32_t written = 0;
  result = writer.write(static_cast<std::uint32_t>(bytes.size()), bytes.data(), &written);
  if (result != 0) return result;
  if (written != bytes.size()) return platform::E_FAIL;
  return writer.finish(static_cast<std::uint32_t>(pcm.size()));
}

}  // namespace demos
