// Draws the overlay's font picture: 256 x 256, 8 x 8 cells, "!" to code 127
// fifteen to a row, then the symbol rows 7 and 8; glyphs in bright palette
// indices on index 0, written as an 8-bit BMP.
#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/font/bmp_writer.h"
#include "tools/font/glyphs.h"

namespace {

constexpr int kSize = 256;
constexpr std::uint8_t kInk = 250;
std::vector<std::uint8_t> picture(kSize * kSize, 0);

void dot(int x, int y) {
  if (x >= 0 && y >= 0 && x < kSize && y < kSize) picture[y * kSize + x] = kInk;
}

void drawGlyph(int column, int row, const tools::Glyph& glyph) {
  for (int r = 0; r < tools::kGlyphRows; ++r) {
    if (glyph.rows[r] == nullptr) continue;
    for (int c = 0; c < tools::kGlyphColumns; ++c) {
      if (glyph.rows[r][c] == '#') dot(column * 8 + 1 + c, row * 8 + r);
    }
  }
}

void cellOf(int code, int* column, int* row) {
  const int i = code - 33;
  *column = i % 15;
  *row = i / 15;
}

// A wave across a symbol cell: f maps 0..1 to 0..1 (1 is the top).
template <typename F>
void drawWave(int column, int row, F f) {
  for (int x = 0; x < 8; ++x) dot(column * 8 + x, row * 8 + 6 - static_cast<int>(std::lround(f(x / 7.0) * 5)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int column, row;
  for (const tools::Glyph& glyph : tools::kGlyphs) {
    cellOf(glyph.code, &column, &row);
    drawGlyph(column, row, glyph);
  }
  // Row 7: time signature 1..8 as that many ticks, input source 0..9 at 8 + v
  // as a small microphone-like bar of height v.
  for (int v = 1; v <= 8; ++v) {
    for (int t = 0; t < v; ++t) dot(v * 8 + (t % 4) * 2, 7 * 8 + (t < 4 ? 1 : 5)), dot(v * 8 + (t % 4) * 2, 7 * 8 + (t < 4 ? 2 : 6));
  }
  for (int v = 0; v <= 9 && 8 + v < 32; ++v) {
    for (int y = 0; y <= v && y < 7; ++y) dot((8 + v) * 8 + 6, 7 * 8 + 6 - y);
    dot((8 + v) * 8 + 1, 7 * 8 + 6);
  }
  // Row 8: waveforms 1..5 at v, behaviours 1..5 at 4 + v (they share 5..9;
  // the behaviour pictograms sit above the waveform ones in the same cell).
  drawWave(1, 8, [](double t) { return 1.0 - t; });                            // falling saw
  drawWave(2, 8, [](double t) { return t; });                                  // rising saw
  drawWave(3, 8, [](double t) { return 0.5 + 0.5 * std::sin(t * 6.283); });   // sine
  drawWave(4, 8, [](double t) { return t < 0.5 ? 2 * t : 2 - 2 * t; });        // triangle
  drawWave(5, 8, [](double t) { return t < 0.5 ? 1.0 : 0.0; });                // square
  for (int v = 1; v <= 5; ++v) {
    for (int d = 0; d < v; ++d) dot((4 + v) * 8 + 1 + d, 8 * 8);  // behaviour count on top
  }
  tools::Colour table[256];
  for (int i = 0; i < 256; ++i) {
    table[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
  }
  const auto bytes = tools::encodeBmp8(kSize, kSize, picture, table);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 1;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
