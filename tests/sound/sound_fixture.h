#pragma once
// A software device over a mixer, and buffers filled from float samples.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/sound/software_sound.h"
#include "tests/sound/signal_analysis.h"

namespace sound_test {

using namespace platform;

inline std::vector<std::uint8_t> formatRecord(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                                              std::uint16_t bits, std::uint16_t subTag = 0) {
  WaveFormatEx f{};
  f.formatTag = tag;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  // Sized once: growing it trips a false out-of-bounds warning of g++ 12 at -O3.
  std::vector<std::uint8_t> out(sizeof f + (tag == WAVE_FORMAT_EXTENSIBLE ? 22 : 0), 0);
  if (tag == WAVE_FORMAT_EXTENSIBLE) {
    f.extraSize = 22;
    std::uint8_t* extra = out.data() + sizeof f;
    extra[0] = static_cast<std::uint8_t>(bits);
    const std::uint8_t guid[16] = {static_cast<std::uint8_t>(subTag), 0, 0, 0, 0, 0, 0x10, 0,
                                   0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::memcpy(extra + 6, guid, 16);
  }
  std::memcpy(out.data(), &f, sizeof f);
  return out;
}

// Every frame leaves the mixer 47 frames (just under 1 ms) after it was
// mixed: the limiter looks that far ahead.
constexpr std::size_t kLatency = 47;

class MixerTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kVoiceFlags =
      DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

  SoundBufferRef makeBuffer(const std::vector<std::uint8_t>& format, const std::vector<std::uint8_t>& data) {
    SoundBufferDesc desc;
    desc.flags = kVoiceFlags;
    desc.bufferBytes = static_cast<std::uint32_t>(data.size());
    desc.format = reinterpret_cast<const WaveFormatEx*>(format.data());
    SoundBufferRef buffer;
    EXPECT_EQ(device.createSoundBuffer(desc, &buffer), kOk);
    if (buffer) fill(buffer, data);
    return buffer;
  }
  SoundBufferRef makeMono16(const std::vector<float>& values, std::uint32_t rate) {
    return makeBuffer(formatRecord(WAVE_FORMAT_PCM, 1, rate, 16), encode(values, 16, false));
  }
  static void fill(const SoundBufferRef& buffer, const std::vector<std::uint8_t>& data) {
    void* region = nullptr;
    std::uint32_t bytes = 0;
    ASSERT_EQ(buffer->lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), kOk);
    std::memcpy(region, data.data(), std::min<std::size_t>(bytes, data.size()));
    ASSERT_EQ(buffer->unlock(region, bytes, nullptr, 0), kOk);
  }
  std::vector<float> render(std::size_t frames) {
    std::vector<float> out(2 * frames);
    mixer->render(static_cast<int>(frames), out.data());
    return out;
  }

  std::shared_ptr<sound::Mixer> mixer = std::make_shared<sound::Mixer>();
  sound::SoftwareSoundDevice device{mixer};
};

}  // namespace sound_test
