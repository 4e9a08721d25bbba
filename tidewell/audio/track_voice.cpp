// The voice of a Track: entry 0 holds the sample, the other entries duplicate
// it so that a sample can overlap itself. An entry that holds no buffer (a
// failed first load or duplication) is skipped everywhere, so a track whose
// sample never loaded simply stays silent.
#include <cstdint>

#include "tidewell/audio/audio_device.h"
#include "tidewell/audio/riff_wave_reader.h"
#include "tidewell/sequencer/track.h"

namespace tidewell {
namespace {

constexpr std::uint32_t kVoiceBufferFlags = platform::DSBCAPS_STATIC | platform::DSBCAPS_CTRLFREQUENCY |
                                            platform::DSBCAPS_CTRLPAN | platform::DSBCAPS_CTRLVOLUME;

// Locks the whole of the buffer, lets the reader fill it and unlocks it.
platform::HResult fillFromReader(platform::SoundBuffer& buffer, RiffWaveReader* reader, bool readable) {
  void* region = nullptr;
  std::uint32_t regionBytes = 0;
  platform::HResult result =
      buffer.lock(0, 0, &region, &regionBytes, nullptr, nullptr, platform::DSBLOCK_ENTIREBUFFER);
  if (result != platform::kOk) return result;
  // A shorter sample leaves the old one's tail; a longer one is cut at the buffer's end.
  if (readable) reader->read(region, regionBytes);
  return buffer.unlock(region, regionBytes, nullptr, 0);
}

// Fills entries 1.. with fresh duplicates of entry 0; the last result counts.
platform::HResult duplicateFirstEntry(platform::SoundDevice& device,
                                      std::vector<platform::SoundBufferRef>& buffers) {
  platform::HResult result = platform::kOk;
  for (std::size_t i = 1; i < buffers.size(); ++i) {
    buffers[i].reset();  // a duplicate still playing stops as it is released
    result = device.duplicateSoundBuffer(buffers[0], &buffers[i]);
  }
  return result;
}

}  // namespace

platform::HResult Track::loadSample(AudioDevice* device, int count) {
  if (count < 1) return -1;
  bufferCount = count;
  buffers.assign(static_cast<std::size_t>(count), nullptr);

  waveReader = std::make_unique<RiffWaveReader>();
  waveReader->open(sampleName);

  // Without a device the track stays silent: there is nothing to create on.
  if (device == nullptr || !device->soundDevice) return platform::DSERR_NODRIVER;
  platform::SoundDevice& soundDevice = *device->soundDevice;

  platform::SoundBufferDesc desc;
  desc.size = 36;
  desc.flags = kVoiceBufferFlags;
  desc.bufferBytes = waveReader->dataSize;
  desc.format = waveReader->format;
  platform::HResult result = soundDevice.createSoundBuffer(desc, &buffers[0]);
  if (result != platform::kOk) return result;

  result = fillFromReader(*buffers[0], waveReader.get(), true);
  if (result != platform::kOk) return result;

  return duplicateFirstEntry(soundDevice, buffers);
}

platform::HResult Track::reloadSample(AudioDevice* device) {
  waveReader = std::make_unique<RiffWaveReader>();
  const bool readable = waveReader->open(sampleName);

  // A track whose first load made no buffer has nothing to refill.
  if (buffers.empty() || !buffers[0]) return -1;
  if (device == nullptr || !device->soundDevice) return platform::DSERR_NODRIVER;

  platform::HResult result = fillFromReader(*buffers[0], waveReader.get(), readable);
  if (result != platform::kOk) return result;

  return duplicateFirstEntry(*device->soundDevice, buffers);
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

platform::HResult Track::applyVolume() {
  for (const auto& buffer : buffers) {
    if (!buffer) continue;
    const platform::HResult result = buffer->setVolume(volume);
    if (result != platform::kOk) return result;
  }
  return 1;
}

platform::HResult Track::applyFrequency() {
  for (const auto& buffer : buffers) {
    if (!buffer) continue;
    const platform::HResult result = buffer->setFrequency(static_cast<std::uint32_t>(frequency));
    if (result != platform::kOk) return result;
  }
  plotY = static_cast<std::int32_t>((frequency - 100) / 333.0);
  return 1;
}

platform::HResult Track::applyPan() {
  for (const auto& buffer : buffers) {
    if (!buffer) continue;
    const platform::HResult result = buffer->setPan(pan);
    if (result != platform::kOk) return result;
  }
  plotX = static_cast<std::int32_t>((pan + 10000) / 50.0);
  return 1;
}

}  // namespace tidewell
