// Feeds arbitrary bytes to the wave reader as a file and reads its data the
// way the track voice does, then makes a sound buffer from the header it
// read (format description, creation, decoding) and mixes a block of it.
// Any crash, hang, leak, undefined behaviour or large allocation is a
// finding; the invariants of a failed and a successful open are checked too,
// and the mix must stay finite and under the limiter's ceiling.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sound/software_sound.h"
#include "tidewell/audio/riff_wave_reader.h"

namespace {

// One in-memory file, rewritten for every input.
const std::string& inputPath() {
  static const std::string path = [] {
    const int descriptor = ::memfd_create("wave-input", 0);
    if (descriptor < 0) __builtin_trap();
    return "/proc/self/fd/" + std::to_string(descriptor);
  }();
  return path;
}

void storeInput(const std::uint8_t* data, std::size_t size) {
  const int descriptor = std::stoi(inputPath().substr(14));
  if (::ftruncate(descriptor, 0) != 0) __builtin_trap();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) __builtin_trap();
    done += static_cast<std::size_t>(n);
  }
}

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A buffer sized as the track voice sizes it: the whole frames the file holds.
void makeBufferAndMix() {
  static const auto mixer = std::make_shared<platform::sound::Mixer>();
  static platform::sound::SoftwareSoundDevice device(mixer);
  tidewell::RiffWaveReader reader;
  if (!reader.open(inputPath().c_str())) return;
  std::uint32_t bytes = reader.bytesPresent();
  if (reader.format->blockAlign > 1) bytes -= bytes % reader.format->blockAlign;
  check(bytes <= reader.dataSize);
  platform::SoundBufferDesc desc;
  desc.flags = platform::DSBCAPS_STATIC | platform::DSBCAPS_CTRLFREQUENCY | platform::DSBCAPS_CTRLPAN |
               platform::DSBCAPS_CTRLVOLUME;
  desc.bufferBytes = bytes;
  desc.format = reader.format;
  platform::SoundBufferRef buffer;
  if (device.createSoundBuffer(desc, &buffer) != platform::kOk) {
    check(!buffer);
    return;
  }
  void* region = nullptr;
  std::uint32_t regionBytes = 0;
  check(buffer->lock(0, 0, &region, &regionBytes, nullptr, nullptr, platform::DSBLOCK_ENTIREBUFFER) == platform::kOk);
  check(regionBytes == bytes);
  check(reader.read(region, regionBytes) == regionBytes);
  check(buffer->unlock(region, regionBytes, nullptr, 0) == platform::kOk);
  check(buffer->setFrequency(platform::DSBFREQUENCY_MAX) == platform::kOk);
  check(buffer->play(0, 0, 0) == platform::kOk);
  static float out[2 * 256];
  mixer->render(256, out);
  for (float v : out) check(v == v && v <= 1.0f && v >= -1.0f);
  buffer.reset();
  mixer->render(256, out);  // lets go of the buffer's data
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  storeInput(data, size);
  tidewell::RiffWaveReader reader;
  if (!reader.open(inputPath().c_str())) {
    check(reader.format == nullptr && reader.file == nullptr && reader.dataSize == 0);
    check(reader.lastError != 0);
    return 0;
  }
  check(reader.format != nullptr && reader.file != nullptr);
  // Touch every byte of the record, so a short allocation shows.
  const auto* record = reinterpret_cast<const volatile std::uint8_t*>(reader.format);
  unsigned sum = 0;
  for (std::size_t i = 0; i < sizeof(platform::WaveFormatEx) + reader.format->extraSize; ++i) sum += record[i];
  (void)sum;

  std::vector<std::uint8_t> into(4096);
  std::uint32_t total = 0;
  std::uint32_t piece = 1 + (size % 4096);
  while (const std::uint32_t got = reader.read(into.data(), piece)) {
    check(got <= piece);
    total += got;
    piece = 1 + (piece * 7) % 4096;
  }
  check(total <= reader.dataSize);
  check(total <= size);
  makeBufferAndMix();
  return 0;
}
