#include "platform/fltk/fltk_save_file_chooser.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <sys/stat.h>

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
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  struct stat info {};
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool FltkSaveFileChooser::getSaveFileName(SaveFileRequest* request) {
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
  chooser.title(request->title.c_str());
  std::string filter;
  for (const auto& [caption, pattern] : request->filters) {
    if (!filter.empty()) filter += "\n";
    filter += caption + "\t" + pattern;
  }
  chooser.filter(filter.c_str());
  chooser.filter_value(request->filterIndex - 1);
  if (!request->initialFolder.empty()) chooser.directory(request->initialFolder.c_str());
  if (!request->fileName.empty()) {
    const std::size_t slash = request->fileName.find_last_of('/');
    chooser.preset_file(request->fileName.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
  }
  if (request->flags & OFN_OVERWRITEPROMPT) chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM);
  if (chooser.show() != 0 || !chooser.filename()) return false;
  const std::string chosen = withDefaultExtension(chooser.filename(), request->defaultExtension);
  if ((request->flags & OFN_PATHMUSTEXIST) && !folderExists(chosen)) return false;
  request->fileName = chosen;
  return true;
}

}  // namespace platform
