#include "tidewell/shell/startup.h"

#include <cstdarg>
#include <cstdio>

#include "tidewell/engine/voice_and_cross.h"
#include "tidewell/picture/display_objects.h"
#include "tidewell/picture/display_setup.h"
#include "tidewell/picture/intensity_maps.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/link_control.h"
#include "tidewell/shell/settings_reader.h"
#include "tidewell/shell/shell_platform.h"
#include "tidewell/shell/window_procedure.h"

namespace tidewell {

platform::HResult reportStartupError(platform::WindowHandle window, platform::HResult code,
                                     const char* format, ...) {
  char text[128];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  releaseDisplayObjects();
  shellPlatform.windows->messageBox(window, text, kWindowTitle, platform::MB_OK);
  shellPlatform.windows->destroyWindow(window);
  return code;
}

namespace {

bool openMainWindow(int showCommand) {
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

}  // namespace

bool initApplication(int showCommand) {
  if (!openMainWindow(showCommand)) return false;

  const DisplayStartup display = createDisplay(shellPlatform.display, mainWindow);
  if (!display.ok()) {
    reportStartupError(mainWindow, display.result, "%s", display.message);
    return false;
  }
  if (!loadFontSurface()) return false;

  startEngine(mainWindow);
  soundsReady = 1;
  return true;
}

void startEngine(platform::WindowHandle window) {
  resetIntensityMaps();

  startDebugLog();
  appendDebugLog("starting up");

  SequencerServices services;
  services.sound = shellPlatform.sound;
  services.clock = shellPlatform.clock;
  services.files = shellPlatform.files;
  sequencer = new Sequencer(window, services);
  static VoiceAndCross heardAndSeen;
  sequencer->hitSinks.attach(&heardAndSeen);

  readSettings(kSettingsPath, *sequencer);
  sequencer->loadAllSamples();
  sequencer->prepareBehaviour();
  appendDebugLog("loaded sounds up");
  startLink();
}

}  // namespace tidewell
