#include "platform/sdl/sharp_scaling.h"

#include <cmath>
#include <cstring>

namespace platform {

std::vector<ScaleTap> sharpScaleTaps(int sourceSize, int destSize, int wholeFactor) {
  std::vector<ScaleTap> taps(destSize > 0 ? static_cast<std::size_t>(destSize) : 0);
  if (sourceSize <= 0 || destSize <= 0) return taps;
  const int factor = wholeFactor < 1 ? 1 : wholeFactor;
  const int blownUp = sourceSize * factor;
  for (int i = 0; i < destSize; ++i) {
    // The output pixel's centre in the blown-up picture, and the two texels
    // a linear filter reads there.
    const double at = (i + 0.5) * blownUp / destSize - 0.5;
    int texel = static_cast<int>(std::floor(at));
    double fraction = at - texel;
    if (texel < 0) texel = 0, fraction = 0;
    if (texel >= blownUp - 1) texel = blownUp - 1, fraction = 0;
    const int first = texel / factor;
    const int second = (texel + 1) / factor;
    int weight = second != first ? static_cast<int>(std::lround(fraction * 256)) : 0;
    ScaleTap& tap = taps[static_cast<std::size_t>(i)];
    tap.first = static_cast<std::uint16_t>(weight >= 256 ? second : first);
    tap.weight = static_cast<std::uint16_t>(weight >= 256 ? 0 : weight);
  }
  return taps;
}

std::vector<ScaleRun> scaleRuns(const std::vector<ScaleTap>& taps) {
  std::vector<ScaleRun> runs;
  for (const ScaleTap& tap : taps) {
    if (!runs.empty() && tap.weight == 0 && runs.back().tap.weight == 0 &&
        runs.back().tap.first == tap.first) {
      ++runs.back().length;
    } else {
      runs.push_back({tap, 1});
    }
  }
  return runs;
}

namespace {

void scaleRow(const std::uint8_t* row, const std::uint32_t lookup[256],
              const std::vector<ScaleRun>& columns, std::uint32_t* out) {
  for (const ScaleRun& run : columns) {
    const std::uint32_t colour = lookup[row[run.tap.first]];
    if (run.tap.weight == 0) {
      for (int i = 0; i < run.length; ++i) out[i] = colour;
    } else {
      out[0] = blendArgb(colour, lookup[row[run.tap.first + 1]], run.tap.weight);
    }
    out += run.length;
  }
}

}  // namespace

void sharpScaleIndexed(const std::uint8_t* source, int sourcePitch,
                       const std::uint32_t lookup[256], const std::vector<ScaleRun>& columns,
                       const std::vector<ScaleTap>& rows, std::uint32_t* dest, int destPitch,
                       std::uint32_t* rowScratch) {
  std::size_t width = 0;
  for (const ScaleRun& run : columns) width += run.length;
  // Rows go down the source in order, so every source row is scaled once
  // into one of two scratch rows and then copied or blended from there.
  int cachedRow[2] = {-1, -1};
  auto scaled = [&](int sourceRow) -> const std::uint32_t* {
    for (int slot = 0; slot < 2; ++slot) {
      if (cachedRow[slot] == sourceRow) return rowScratch + slot * width;
    }
    const int slot = cachedRow[0] < cachedRow[1] ? 0 : 1;  // the row further up
    cachedRow[slot] = sourceRow;
    std::uint32_t* out = rowScratch + slot * width;
    scaleRow(source + static_cast<std::ptrdiff_t>(sourceRow) * sourcePitch, lookup, columns, out);
    return out;
  };
  for (std::size_t y = 0; y < rows.size(); ++y) {
    const ScaleTap tap = rows[y];
    auto* out = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(dest) +
                                                 static_cast<std::ptrdiff_t>(y) * destPitch);
    const std::uint32_t* upper = scaled(tap.first);
    if (tap.weight == 0) {
      std::memcpy(out, upper, width * sizeof *out);
    } else {
      const std::uint32_t* lower = scaled(tap.first + 1);
      for (std::size_t x = 0; x < width; ++x) out[x] = blendArgb(upper[x], lower[x], tap.weight);
    }
  }
}

}  // namespace platform
