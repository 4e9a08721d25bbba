// One frame of the picture's hot path (wave step, map copy into the back
// buffer, palette conversion for presentation) beside a straightforward
// cell-by-cell version and beside a pass that only streams the same bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sdl/palette_conversion.h"
#include "tidewell/picture/picture.h"

namespace {

// The one picture the bench draws (a megabyte: not on the stack).
tidewell::Picture& thePicture() {
  static auto* picture = new tidewell::Picture();
  return *picture;
}

using namespace tidewell;
constexpr int W = kPictureWidth, H = kPictureHeight;

struct Frame {
  IntensityMap maps[2];
  std::vector<std::uint8_t> back = std::vector<std::uint8_t>(W * H);
  std::vector<std::uint32_t> screen = std::vector<std::uint32_t>(W * H);
  int selector = 1;
};

void seed(Frame& f) {
  std::uint32_t s = 7;
  for (auto& map : f.maps) {
    for (int x = 0; x < W; ++x) {
      for (int y = 0; y < H; ++y) {
        s = s * 1103515245u + 12345u;
        map.at(x, y) = (s >> 16) & 0xFF;
      }
    }
  }
  thePicture().initPalettes();
}

void scalarFrame(Frame& f) {
  const IntensityMap& s = f.maps[f.selector];
  IntensityMap& t = f.maps[1 - f.selector];
  for (int x = 0; x < W; ++x) {
    for (int y = 0; y < H; ++y) {
      const int l = (x + W - 1) % W, r = (x + 1) % W, u = (y + H - 1) % H, d = (y + 1) % H;
      int v = (s.at(l, y) + s.at(r, y) + s.at(x, d) + s.at(x, u)) / 2 - t.at(x, y);
      t.at(x, y) = v > 255 ? 255 : v < 1 ? 0 : v;
    }
  }
  f.selector = 1 - f.selector;
  for (int x = 0; x < W; ++x) {
    for (int y = 0; y < H; ++y) f.back[y * W + x] = static_cast<std::uint8_t>(t.at(x, y));
  }
  for (int i = 0; i < W * H; ++i) {
    const platform::PaletteEntry& e = thePicture().currentPalette[f.back[i]];
    f.screen[i] = 0xFF000000u | (e.red << 16) | (e.green << 8) | e.blue;
  }
}

void fastFrame(Frame& f) {
  const IntensityMap& s = f.maps[f.selector];
  IntensityMap& t = f.maps[1 - f.selector];
  rippleStepMaps(s, t);
  f.selector = 1 - f.selector;
  copyMapToPixels(t, f.back.data(), W);
  std::uint32_t lookup[256];
  platform::buildArgbLookup(thePicture().currentPalette, lookup);
  platform::convertIndexedToArgb(f.back.data(), W, W, H, lookup, f.screen.data(), W * 4);
}

// Reads both maps, writes one map, the back buffer and the screen: the bytes
// a frame must move at the least.
void streamFrame(Frame& f) {
  const IntensityMap& s = f.maps[f.selector];
  IntensityMap& t = f.maps[1 - f.selector];
  const std::int32_t* in = &s.cells[0][0];
  std::int32_t* out = &t.cells[0][0];
  for (int i = 0; i < W * H; ++i) out[i] = (in[i] + out[i]) & 0xFF;
  f.selector = 1 - f.selector;
  for (int i = 0; i < W * H; ++i) f.back[i] = static_cast<std::uint8_t>(out[i]);
  for (int i = 0; i < W * H; ++i) f.screen[i] = f.back[i] * 0x01010101u;
}

// Same input, same output, checked once before anything is timed.
bool outputsAgree() {
  static Frame a, b;
  seed(a);
  seed(b);
  for (int i = 0; i < 5; ++i) {
    scalarFrame(a);
    fastFrame(b);
  }
  return a.back == b.back && a.screen == b.screen &&
         std::memcmp(&a.maps, &b.maps, sizeof a.maps) == 0;
}

template <void (*frame)(Frame&)>
void run(benchmark::State& state) {
  if (!outputsAgree()) {
    state.SkipWithError("fast and scalar frames differ");
    return;
  }
  static Frame f;
  seed(f);
  for (auto _ : state) {
    frame(f);
    benchmark::DoNotOptimize(f.screen.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(run<scalarFrame>)->Name("frame/scalar_reference")->Unit(benchmark::kMicrosecond);
BENCHMARK(run<fastFrame>)->Name("frame/fast")->Unit(benchmark::kMicrosecond);
BENCHMARK(run<streamFrame>)->Name("frame/stream_only")->Unit(benchmark::kMicrosecond);

}  // namespace
