#pragma once
// What a sound device accepts and refuses, judged in one place for the
// software device and for the recording fake the engine is tested with, so
// both answer the same call with the same code.
#include <cstdint>

#include "platform/api/sound.h"
#include "platform/sound/sample_format.h"

namespace platform::sound {

// The cooperative level a device is set to.
HResult checkCooperativeLevel(std::uint32_t level);

// A buffer description. For a secondary buffer the layout of its format is
// filled in when it is accepted.
HResult checkBufferDesc(const SoundBufferDesc& desc, SampleLayout* layout);

// Duplicating needs a secondary buffer made by the same device.
HResult checkDuplicate(bool sourceKnown, bool sourceIsPrimary, bool destinationGiven);

HResult checkVolume(std::uint32_t bufferFlags, std::int32_t volume);
HResult checkPan(std::uint32_t bufferFlags, std::int32_t pan);
HResult checkFrequency(std::uint32_t bufferFlags, std::uint32_t frequency);
// Only play-once is offered: the sequencer never loops.
HResult checkPlayFlags(std::uint32_t flags);

// The regions a lock hands out of a buffer of `size` bytes at `data`.
HResult lockRegions(std::uint8_t* data, std::uint32_t size, std::uint32_t offset, std::uint32_t bytes,
                    std::uint32_t flags, void** region1, std::uint32_t* bytes1, void** region2,
                    std::uint32_t* bytes2);
// An unlock must hand back a pointer into the buffer.
HResult checkUnlock(const std::uint8_t* data, std::uint32_t size, const void* region1);

}  // namespace platform::sound
