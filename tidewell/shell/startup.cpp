// The main program's start-up: window, display, font picture, debug log and
// the engine with its settings, first samples and their placement.
#include <cstdarg>
#include <cstdio>

#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/main_program.h"
#include "tidewell/sequencer/settings_reader.h"

namespace tidewell {

static MainProgram* windowProgram = nullptr;  // the program the window procedure serves

MainProgram::MainProgram(const ShellPlatform& platform, RecordingControl* recordingControl)
    : shellPlatform(platform), recordingControl(recordingControl) {
  windowProgram = this;
}

// The engine, with its tracks and their buffers, goes before the picture.
MainProgram::~MainProgram() {
  engine.reset();
  if (windowProgram == this) windowProgram = nullptr;
}

platform::LResult MainProgram::mainWindowProc(platform::WindowHandle window, std::uint32_t message,
                                              platform::WParam wParam, platform::LParam lParam) {
  if (windowProgram == nullptr) return 0;  // no program to serve: a message after the end
  return windowProgram->windowMessage(window, message, wParam, lParam);
}

platform::HResult MainProgram::reportStartupError(platform::WindowHandle window, platform::HResult code,
                                                  const char* format, ...) {
  char text[128];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  picture->releaseDisplayObjects();
  shellPlatform.windows->messageBox(window, text, kWindowTitle, platform::MB_OK);
  shellPlatform.windows->destroyWindow(window);
  return code;
}

bool MainProgram::openMainWindow(int showCommand) {
  platform::WindowSystem& windows = *shellPlatform.windows;
  platform::WindowClass windowClass;
  windowClass.className = kWindowClassName;
  windowClass.menuName = kWindowClassName;
  windowClass.procedure = mainWindowProc;
  windowClass.iconResource = kMainIconResource;
  windows.registerClass(windowClass);  // a failed registration shows at creation

  const int height = windows.screenHeight();
  const int width = windows.screenWidth();
  mainWindow = windows.createWindow(kWindowClassName, kWindowTitle, 0, 0, width, height);
  if (mainWindow == nullptr) return false;
  windows.showWindow(mainWindow, showCommand);
  windows.updateWindow(mainWindow);
  return true;
}

bool MainProgram::initApplication(int showCommand) {
  if (!openMainWindow(showCommand)) return false;

  const DisplayStartup display = picture->createDisplay(shellPlatform.display, mainWindow);
  if (!display.ok()) {
    reportStartupError(mainWindow, display.result, "%s", display.message);
    return false;
  }
  if (!picture->loadFontSurface()) return false;

  startDebugLog();
  const SequencerServices services{shellPlatform.sound, shellPlatform.clock, shellPlatform.files};
  engine = std::make_unique<Engine>(*picture, mainWindow, services, kSettingsPath,
                                    [](const char* line) { appendDebugLog(line); });
  for (HitSink* sink : extraHitSinks) engine->sequencer->hitSinks.attach(sink);
  link.start(*engine->sequencer);
  soundsReady = 1;
  return true;
}

}  // namespace tidewell
