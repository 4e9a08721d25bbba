#include <gtest/gtest.h>

#include "platform/api/memory_surface.h"
#include "tidewell/picture/display_objects.h"
#include "tidewell/picture/text_hud.h"

namespace tidewell {
namespace {

// A font picture whose every pixel names its cell: column + 32 * row + 1.
class TextHudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto font = std::make_shared<platform::MemorySurface>(256, 256);
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) font->pixels()[y * 256 + x] = cellMark(x / 8, y / 8);
    }
    back_ = std::make_shared<platform::MemorySurface>(400, 300);
    std::fill(back_->pixels(), back_->pixels() + 400 * 300, kGround);
    fontSurface = font;
    backBuffer = back_;
  }
  void TearDown() override {
    fontSurface.reset();
    backBuffer.reset();
  }
  static std::uint8_t cellMark(int column, int row) {
    return static_cast<std::uint8_t>(column + 32 * row + 1);
  }
  static constexpr std::uint8_t kGround = 0;
  std::shared_ptr<platform::MemorySurface> back_;
};

TEST_F(TextHudTest, CharactersComeFromTheirCells) {
  drawText(0, 0, "!0A");
  EXPECT_EQ(back_->pixel(0, 0), cellMark(0, 0));   // "!" column 0 row 0
  EXPECT_EQ(back_->pixel(7, 7), cellMark(0, 0));
  EXPECT_EQ(back_->pixel(8, 0), cellMark(0, 1));   // "0" column 0 row 1
  EXPECT_EQ(back_->pixel(16, 0), cellMark(2, 2));  // "A" column 2 row 2
  EXPECT_EQ(back_->pixel(24, 0), kGround);
}

TEST_F(TextHudTest, SpacesControlCodesAndHighCodesLeaveThePictureButAdvance) {
  const char text[] = {'A', ' ', '\x05', static_cast<char>(0xC9), 'A', 0};
  drawText(100, 50, text);
  EXPECT_EQ(back_->pixel(100, 50), cellMark(2, 2));
  for (int x = 108; x < 132; ++x) EXPECT_EQ(back_->pixel(x, 53), kGround) << x;
  EXPECT_EQ(back_->pixel(132, 50), cellMark(2, 2));
}

TEST_F(TextHudTest, TextOverTheEdgesIsCutAtAWholeCell) {
  drawText(380, 10, "AAAA");  // cells at 380, 388 fit; 396 would end at 404
  EXPECT_EQ(back_->pixel(387, 10), cellMark(2, 2));
  EXPECT_EQ(back_->pixel(395, 10), cellMark(2, 2));
  for (int x = 396; x < 400; ++x) EXPECT_EQ(back_->pixel(x, 10), kGround);
  drawText(0, 295, "A");  // would end at row 303
  EXPECT_EQ(back_->pixel(0, 299), kGround);
  drawText(-4, 20, "A");
  EXPECT_EQ(back_->pixel(0, 20), kGround);
}

TEST_F(TextHudTest, InfoLineTextsEndWhereTheirSymbolsStart) {
  drawText(10, 290, "Behaviour ");
  EXPECT_NE(back_->pixel(81, 290), kGround);  // "r" ends at 89, the space leaves 82..89
  EXPECT_EQ(back_->pixel(90, 290), kGround);
  EXPECT_EQ(behaviourCell(3).left, 56);
  EXPECT_EQ(behaviourCell(3).top, 64);
  EXPECT_EQ(timeSignatureCell(8).left, inputSourceCell(0).left);
  EXPECT_EQ(inputSourceCell(0).top, 56);
  EXPECT_EQ(waveformCell(5).left, 40);
}

TEST(ShownTempo, HalfTheTempoTruncated) {
  EXPECT_EQ(shownTempo(900.0f), 450);
  EXPECT_EQ(shownTempo(901.0f), 450);
  EXPECT_EQ(shownTempo(902.0f), 451);
  EXPECT_EQ(shownTempo(60.0f), 30);
  EXPECT_EQ(shownTempo(-61.0f), 30);
  EXPECT_EQ(shownTempo(1e30f), 2000000000L);
}

}  // namespace
}  // namespace tidewell
