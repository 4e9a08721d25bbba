#include <cstring>

#include "resources/resources.h"

namespace resources {

const EmbeddedResource* findResource(const char* name) {
  if (name == nullptr) return nullptr;
  for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
    if (std::strcmp(kEmbeddedResources[i].name, name) == 0) return &kEmbeddedResources[i];
  }
  return nullptr;
}

const IconImage* findIcon(int id) {
  for (std::size_t i = 0; i < kEmbeddedIconCount; ++i) {
    if (kEmbeddedIcons[i].id == id) return &kEmbeddedIcons[i];
  }
  return nullptr;
}

}  // namespace resources
