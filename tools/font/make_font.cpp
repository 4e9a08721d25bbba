// Draws the overlay's font picture: 256 x 256, 8 x 8 cells, "!" to code 127
// fifteen to a row, then the pictograms of rows 7 and 8; glyphs in bright palette
// indices on index 0, written as an 8-bit BMP.
#include <cstdio>
#include <vector>

#include "tools/font/bmp_writer.h"
#include "tools/font/glyphs.h"
#include "tools/font/symbols.h"

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

void drawPictogram(const tools::Pictogram& pictogram) {
  for (int r = 0; r < tools::kSymbolSize; ++r) {
    for (int c = 0; c < tools::kSymbolSize; ++c) {
      if (pictogram.rows[r][c] == '#') dot(pictogram.column * 8 + c, pictogram.row * 8 + r);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int column, row;
  for (const tools::Glyph& glyph : tools::kGlyphs) {
    cellOf(glyph.code, &column, &row);
    drawGlyph(column, row, glyph);
  }
  for (const tools::Pictogram& pictogram : tools::kPictograms) drawPictogram(pictogram);
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
