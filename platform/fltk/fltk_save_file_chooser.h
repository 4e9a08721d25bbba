#pragma once
#include "platform/api/save_file_chooser.h"

namespace platform {

// FLTK's own file chooser in save mode (not the GTK one, which hides behind
// other windows without a window manager).
class FltkSaveFileChooser : public SaveFileChooser {
 public:
  bool getSaveFileName(SaveFileRequest* request) override;
};

// The chosen name with the default extension added when it has none.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace platform
