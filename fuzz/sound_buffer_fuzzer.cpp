// Makes a sound buffer from an arbitrary format record and description, the
// way a track does with a header it read: the format is described, the
// buffer created, filled through a lock, duplicated, given volume, pan and
// frequency, played and mixed, so the decoding of every accepted format runs.
// Input: 18 bytes of format record, its extra bytes, then little-endian
// flags, buffer size, frequency, pan, volume (4 bytes each), a byte of play
// flags, and the sample data. Any crash, undefined behaviour, leak or large
// allocation is a finding; a refused buffer must come back null, and the mix
// must stay finite and under the limiter's ceiling.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sound/software_sound.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// Hands out the input's bytes in order; zeros once it runs out.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  void take(void* into, std::size_t bytes) {
    const std::size_t n = bytes < size_ - used_ ? bytes : size_ - used_;
    std::memcpy(into, data_ + used_, n);
    std::memset(static_cast<std::uint8_t*>(into) + n, 0, bytes - n);
    used_ += n;
  }
  std::uint32_t word() {
    std::uint8_t b[4];
    take(b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  const std::uint8_t* rest() const { return data_ + used_; }
  std::size_t restSize() const { return size_ - used_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

// Enough for every decoding path; larger buffers only slow each run down.
constexpr std::uint32_t kMaxBufferBytes = 1u << 16;

void mixSome(platform::sound::Mixer& mixer) {
  static float out[2 * 256];
  for (int block = 0; block < 2; ++block) {
    mixer.render(256, out);
    for (float v : out) check(v == v && v <= 1.0f && v >= -1.0f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto mixer = std::make_shared<platform::sound::Mixer>();
  static platform::sound::SoftwareSoundDevice device(mixer);
  Input input(data, size);

  platform::WaveFormatEx format;
  input.take(&format, sizeof format);
  // The record is followed in memory by as many bytes as it says.
  std::vector<std::uint8_t> record(sizeof format + format.extraSize);
  std::memcpy(record.data(), &format, sizeof format);
  input.take(record.data() + sizeof format, format.extraSize);

  platform::SoundBufferDesc desc;
  desc.flags = input.word();
  desc.bufferBytes = input.word() % (kMaxBufferBytes + 1);
  desc.format = reinterpret_cast<const platform::WaveFormatEx*>(record.data());
  const std::uint32_t frequency = input.word();
  const auto pan = static_cast<std::int32_t>(input.word());
  const auto volume = static_cast<std::int32_t>(input.word());
  std::uint8_t playFlags = 0;
  input.take(&playFlags, 1);

  platform::SoundBufferRef buffer;
  if (device.createSoundBuffer(desc, &buffer) != platform::kOk) {
    check(!buffer);
    return 0;
  }
  check(buffer != nullptr);
  void* region = nullptr;
  void* region2 = nullptr;
  std::uint32_t regionBytes = 0;
  std::uint32_t region2Bytes = 0;
  if (buffer->lock(0, 0, &region, &regionBytes, &region2, &region2Bytes, platform::DSBLOCK_ENTIREBUFFER) ==
      platform::kOk) {
    check(region != nullptr && regionBytes == desc.bufferBytes && region2Bytes == 0);
    // The sample data, repeated to fill the buffer.
    auto* bytes = static_cast<std::uint8_t*>(region);
    const std::size_t piece = input.restSize();
    for (std::uint32_t done = 0; piece != 0 && done < regionBytes;) {
      const std::size_t n = std::min<std::size_t>(piece, regionBytes - done);
      std::memcpy(bytes + done, input.rest(), n);
      done += static_cast<std::uint32_t>(n);
    }
    if (piece == 0) std::memset(bytes, 0x40, regionBytes);
    check(buffer->unlock(region, regionBytes, region2, region2Bytes) == platform::kOk);
  }
  platform::SoundBufferRef copy;
  device.duplicateSoundBuffer(buffer, &copy);
  buffer->setFrequency(frequency);
  buffer->setPan(pan);
  buffer->setVolume(volume);
  buffer->play(0, 0, playFlags);
  if (copy) copy->play(0, 0, 0);
  mixSome(*mixer);
  std::uint32_t status = 0;
  buffer->getStatus(&status);
  buffer->stop();
  buffer.reset();
  copy.reset();
  mixSome(*mixer);  // lets go of the buffers' data
  return 0;
}
