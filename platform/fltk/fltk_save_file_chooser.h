#pragma once
#include "platform/api/save_file_chooser.h"

namespace platform {

// The desktop's file chooser through FLTK in save mode: GTK's where it is
// available and allowed by FLTK's options, otherwise FLTK's own. The
// overwrite question is asked about the name with its default extension.
class FltkSaveFileChooser : public SaveFileChooser {
 public:
  bool getSaveFileName(SaveFileRequest* request) override;
};

// The chosen name with the default extension added when it has none.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace platform
