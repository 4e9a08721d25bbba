#pragma once
// A dialog template: caption, size in dialog units, font, and the controls in
// tab order with their positions in dialog units.
#include <vector>

namespace platform {

enum class ControlKind {
  kDefPushButton,
  kPushButton,
  kToggleButton,  // a check box drawn as a push button
  kListBox,
  kDropDownList,
  kEdit,
  kStatic,
  kStaticSunken,
  kGroupBox,
};

struct ControlTemplate {
  int id;  // -1 for controls that are never addressed
  ControlKind kind;
  const char* caption;
  int x, y, width, height;
};

struct DialogTemplate {
  const char* caption;
  int width, height;
  const char* fontName;
  int fontPointSize;
  std::vector<ControlTemplate> controls;
};

}  // namespace platform
