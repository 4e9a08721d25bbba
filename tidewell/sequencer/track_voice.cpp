// The voice of a Track: entry 0 holds the sample, the other entries duplicate
// it so that a sample can overlap itself. An entry that holds no buffer (a
// failed first load or duplication) is skipped everywhere, so a track whose
// sample never loaded simply stays silent until a reload loads it afresh.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "tidewell/audio/audio_device.h"
#include "tidewell/audio/riff_wave_reader.h"
#include "tidewell/sequencer/track.h"

namespace tidewell {
namespace {

constexpr std::uint32_t kVoiceBufferFlags = platform::DSBCAPS_STATIC | platform::DSBCAPS_CTRLFREQUENCY |
                                            platform::DSBCAPS_CTRLPAN | platform::DSBCAPS_CTRLVOLUME;

// The whole format record the reader found, extra bytes included.
std::vector<std::uint8_t> formatBytes(const platform::WaveFormatEx* format) {
  if (format == nullptr) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(format);
  return std::vector<std::uint8_t>(bytes, bytes + sizeof(platform::WaveFormatEx) + format->extraSize);
}

// Same tag, channels, rate, bits, block alignment and extra bytes: the data
// can go into the buffers as they are. The byte rate is only a hint and does
// not count.
bool sameFormat(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.size() < sizeof(platform::WaveFormatEx)) return false;
  platform::WaveFormatEx fa, fb;
  std::memcpy(&fa, a.data(), sizeof fa);
  std::memcpy(&fb, b.data(), sizeof fb);
  fa.avgBytesPerSec = fb.avgBytesPerSec = 0;
  return std::memcmp(&fa, &fb, sizeof fa) == 0 &&
         std::equal(a.begin() + sizeof fa, a.end(), b.begin() + sizeof fb);
}

// What the file really holds, in whole frames: a claimed size beyond the
// end of the file counts only what is there, and a partial last frame is
// left out.
std::uint32_t playableBytes(const RiffWaveReader& reader) {
  std::uint32_t bytes = reader.bytesPresent();
  if (reader.format != nullptr && reader.format->blockAlign > 1) bytes -= bytes % reader.format->blockAlign;
  return bytes;
}

// Locks the whole of the buffer, lets the reader fill it and unlocks it.
platform::HResult fillFromReader(platform::SoundBuffer& buffer, RiffWaveReader* reader, bool readable) {
  void* region = nullptr;
  std::uint32_t regionBytes = 0;
  platform::HResult result =
      buffer.lock(0, 0, &region, &regionBytes, nullptr, nullptr, platform::DSBLOCK_ENTIREBUFFER);
  if (result != platform::kOk) return result;
  // A shorter sample leaves the old one's tail; a longer one is cut at the buffer's end.
  if (readable) reader->read(region, std::min(regionBytes, playableBytes(*reader)));
  return buffer.unlock(region, regionBytes, nullptr, 0);
}

// Fills entries 1.. with fresh duplicates of entry 0; the last result counts.
platform::HResult duplicateFirstEntry(platform::SoundDevice& device,
                                      std::vector<platform::SoundBufferRef>& buffers) {
  platform::HResult result = platform::kOk;
  for (std::size_t i = 1; i < buffers.size(); ++i) {
    buffers[i].reset();  // a duplicate still sounding fades out as it is released
    result = device.duplicateSoundBuffer(buffers[0], &buffers[i]);
  }
  return result;
}

// Sets one value on every buffer there is, stopping at the first refusal.
template <typename Set>
platform::HResult onEveryBuffer(const std::vector<platform::SoundBufferRef>& buffers, Set set) {
  for (const auto& buffer : buffers) {
    if (!buffer) continue;
    const platform::HResult result = set(*buffer);
    if (result != platform::kOk) return result;
  }
  return platform::kOk;
}

}  // namespace

platform::HResult Track::loadSample(AudioDevice* device, int count) try {
  if (count < 1) return -1;
  bufferCount = count;
  buffers.assign(static_cast<std::size_t>(count), nullptr);
  bufferFormat.clear();

  waveReader = std::make_unique<RiffWaveReader>();
  waveReader->open(sampleName);
  return createBuffers(device);
} catch (const std::bad_alloc&) {
  // No memory for the table or the reader: a failed load, silent until the next.
  buffers.clear();
  return platform::DSERR_OUTOFMEMORY;
}

// Entry 0 made from the open reader's format and data, then the duplicates.
platform::HResult Track::createBuffers(AudioDevice* device) {
  // Without a device the track stays silent: there is nothing to create on.
  if (device == nullptr || !device->soundDevice) return platform::DSERR_NODRIVER;
  platform::SoundDevice& soundDevice = *device->soundDevice;

  platform::SoundBufferDesc desc;
  desc.size = 36;
  desc.flags = kVoiceBufferFlags;
  desc.bufferBytes = playableBytes(*waveReader);
  desc.format = waveReader->format;
  platform::HResult result = soundDevice.createSoundBuffer(desc, &buffers[0]);
  if (result != platform::kOk) return result;
  bufferFormat = formatBytes(waveReader->format);

  result = fillFromReader(*buffers[0], waveReader.get(), true);
  if (result != platform::kOk) return result;

  return duplicateFirstEntry(soundDevice, buffers);
}

platform::HResult Track::reloadSample(AudioDevice* device) try {
  // A track whose earlier load made no buffer loads afresh.
  if (buffers.empty() || !buffers[0]) return loadSample(device, std::max(bufferCount, 1));

  waveReader = std::make_unique<RiffWaveReader>();
  const bool readable = waveReader->open(sampleName);
  if (device == nullptr || !device->soundDevice) return platform::DSERR_NODRIVER;

  // Data of another format would play as noise in the old buffers: they
  // go (a sounding one fades out) and new ones are made for the new file.
  if (readable && !sameFormat(formatBytes(waveReader->format), bufferFormat)) {
    buffers.assign(buffers.size(), nullptr);
    bufferFormat.clear();
    return createBuffers(device);
  }

  platform::HResult result = fillFromReader(*buffers[0], waveReader.get(), readable);
  if (result != platform::kOk) return result;

  return duplicateFirstEntry(*device->soundDevice, buffers);
} catch (const std::bad_alloc&) {
  return platform::DSERR_OUTOFMEMORY;
}

std::uint32_t Track::sampleRate() const {
  platform::WaveFormatEx format{};
  if (bufferFormat.size() < sizeof format) return 0;
  std::memcpy(&format, bufferFormat.data(), sizeof format);
  return format.samplesPerSec;
}

platform::SoundBufferRef Track::findFreeBuffer() {
  for (const auto& buffer : buffers) {
    if (!buffer) continue;
    std::uint32_t status = 0;
    if (buffer->getStatus(&status) != platform::kOk) status = 0;
    if (status & platform::DSBSTATUS_PLAYING) continue;
    // A restored buffer is not refilled; a failed restore drops the hit.
    if ((status & platform::DSBSTATUS_BUFFERLOST) && platform::failed(buffer->restore())) return nullptr;
    return buffer;
  }
  return nullptr;
}

platform::HResult Track::play(std::uint32_t flags) {
  platform::SoundBufferRef buffer = findFreeBuffer();
  if (!buffer) return -1;
  return buffer->play(0, 0, flags);
}

platform::HResult Track::playAfter(double delayMs) {
  platform::SoundBufferRef buffer = findFreeBuffer();
  if (!buffer) return -1;
  return buffer->playAfter(delayMs);
}

// The apply calls give 1 once every buffer took the value; the first
// refusal ends them with its code, and the plot position stays as it was.
platform::HResult Track::applyVolume() {
  const platform::HResult result = onEveryBuffer(buffers, [this](auto& b) { return b.setVolume(volume); });
  return result != platform::kOk ? result : 1;
}

platform::HResult Track::applyFrequency() {
  const auto rate = static_cast<std::uint32_t>(frequency);
  const platform::HResult result = onEveryBuffer(buffers, [rate](auto& b) { return b.setFrequency(rate); });
  if (result != platform::kOk) return result;
  plotY = static_cast<std::int32_t>((frequency - 100) / 333.0);
  return 1;
}

platform::HResult Track::applyPan() {
  const platform::HResult result = onEveryBuffer(buffers, [this](auto& b) { return b.setPan(pan); });
  if (result != platform::kOk) return result;
  plotX = static_cast<std::int32_t>((pan + 10000) / 50.0);
  return 1;
}

}  // namespace tidewell
