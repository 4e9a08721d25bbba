#pragma once
// The presentation's colour step: 8-bit palette indices to 32-bit ARGB pixels
// through a 256-entry lookup table. Pure code, shared by the SDL display and
// the benchmark.
#include <cstdint>

#include "platform/api/display.h"

namespace platform {

void buildArgbLookup(const PaletteEntry* entries, std::uint32_t lookup[256]);

// dest rows are destPitch bytes apart; source rows sourcePitch bytes.
void convertIndexedToArgb(const std::uint8_t* source, int sourcePitch, int width, int height,
                          const std::uint32_t lookup[256], std::uint32_t* dest, int destPitch);

}  // namespace platform
