#pragma once
// Data built into the executables: named binary resources (the bitmap
// "swirlgate_bmp") and the window icons, looked up by name or number.
#include <cstddef>
#include <cstdint>

namespace resources {

constexpr int kMainIconId = 101;      // the main program's window icon
constexpr int kLauncherIconId = 128;  // the launcher's dialog icon

struct EmbeddedResource {
  const char* name;
  const std::uint8_t* data;
  std::size_t size;
};

// Square RGBA pixels, rows top-down, ready for a window layer's icon call.
struct IconImage {
  int id;
  int width;
  int height;
  const std::uint8_t* rgba;
};

// Null when the program carries no resource of that name.
const EmbeddedResource* findResource(const char* name);
const IconImage* findIcon(int id);

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;
extern const IconImage kEmbeddedIcons[];
extern const std::size_t kEmbeddedIconCount;

}  // namespace resources
