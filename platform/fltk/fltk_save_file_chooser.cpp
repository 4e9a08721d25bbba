#include "platform/fltk/fltk_save_file_chooser.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_ask.H>

#include "platform/posix/path_kind.h"

namespace platform {

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (hasExtension || extension.empty()) return path;
  return path + "." + extension;
}

namespace {

bool folderExists(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;
  return posix::pathKind(slash == 0 ? "/" : path.substr(0, slash)) == posix::PathKind::kFolder;
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// The question is asked here rather than by the chooser, because only here
// is the default extension added: it is about the file that will be written.
bool mayReplace(const std::string& path) {
  fl_message_title("Confirm Save As");
  return fl_choice("%s already exists.\nDo you want to replace it?", "No", "Yes", nullptr,
                   baseName(path).c_str()) == 1;
}

}  // namespace

bool FltkSaveFileChooser::getSaveFileName(SaveFileRequest* request) {
  std::string folder = request->initialFolder;
  std::string offered = baseName(request->fileName);
  for (;;) {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    chooser.title(request->title.c_str());
    std::string filter;
    for (const auto& [caption, pattern] : request->filters) {
      if (!filter.empty()) filter += "\n";
      filter += caption + "\t" + pattern;
    }
    chooser.filter(filter.c_str());
    chooser.filter_value(request->filterIndex - 1);
    if (!folder.empty()) chooser.directory(folder.c_str());
    if (!offered.empty()) chooser.preset_file(offered.c_str());
    if (chooser.show() != 0 || !chooser.filename()) return false;
    const std::string chosen = withDefaultExtension(chooser.filename(), request->defaultExtension);
    if ((request->flags & OFN_PATHMUSTEXIST) && !folderExists(chosen)) return false;
    if ((request->flags & OFN_OVERWRITEPROMPT) && posix::pathKind(chosen) != posix::PathKind::kMissing &&
        !mayReplace(chosen)) {
      // Asked again, where the user was, with the name they typed.
      const std::size_t slash = chosen.find_last_of('/');
      folder = slash == std::string::npos ? folder : chosen.substr(0, slash);
      offered = baseName(chosen);
      continue;
    }
    request->fileName = chosen;
    return true;
  }
}

}  // namespace platform
