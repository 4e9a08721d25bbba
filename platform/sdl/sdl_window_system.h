#pragma once
// Windows and messages over SDL2: one window per registered class, SDL
// events turned into the messages a window procedure handles.
#include <SDL2/SDL.h>

#include <functional>

#include "platform/windows/queued_window_system.h"

namespace platform {

class SdlWindowSystem : public QueuedWindowSystem {
 public:
  ~SdlWindowSystem() override;

  // Told whenever the window gains or loses the keyboard focus.
  void setFocusListener(std::function<void(bool focused)> listener) { focusListener_ = std::move(listener); }
  // The window icon: an image the resources hand out by number.
  void setIconLoader(std::function<SDL_Surface*(int resource)> loader) { iconLoader_ = std::move(loader); }

  int screenWidth() override { return desktopMode().w; }
  int screenHeight() override { return desktopMode().h; }
  WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                            int height) override;
  void showWindow(WindowHandle window, int showCommand) override;
  void hideCursor() override;
  int messageBox(WindowHandle owner, const char* text, const char* caption,
                 std::uint32_t style) override;

 private:
  bool videoReady();
  SDL_DisplayMode desktopMode();  // all zero when it cannot be read
  void gatherMessages(bool wait) override;  // SDL's events become messages
  void releaseWindow(WindowHandle window) override;
  void translateEvent(const SDL_Event& event);

  bool videoReady_ = false;
  WindowHandle mainWindow_ = nullptr;
  bool minimised_ = false;
  WParam minimisedFlag() const { return minimised_ ? kMinimisedFlag : 0; }
  std::function<void(bool)> focusListener_;
  std::function<SDL_Surface*(int)> iconLoader_;
};

// The virtual-key code of an SDL key, 0 for keys without one.
std::uint32_t virtualKeyOf(SDL_Keycode key);

}  // namespace platform
