#include "platform/sdl/sdl_window_system.h"

#include "platform/sdl/sdl_window_handle.h"

namespace platform {

std::uint32_t virtualKeyOf(SDL_Keycode key) {
  if (key == SDLK_ESCAPE) return VK_ESCAPE;
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<std::uint32_t>(key - SDLK_F1);
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<std::uint32_t>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<std::uint32_t>(key - SDLK_0);
  if (key == SDLK_SPACE) return ' ';
  if (key == SDLK_RETURN) return 0x0D;
  return 0;
}

SdlWindowSystem::~SdlWindowSystem() {
  if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindowSystem::videoReady() {
  if (!videoReady_) videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return videoReady_;
}

SDL_DisplayMode SdlWindowSystem::desktopMode() {
  SDL_DisplayMode mode{};
  if (!videoReady() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return SDL_DisplayMode{};
  return mode;
}

WindowHandle SdlWindowSystem::createWindow(const char* className, const char* title, int x,
                                           int y, int width, int height) {
  const WindowClass* found = findClass(className);
  if (found == nullptr || !videoReady()) return nullptr;
  // A full-screen window at the desktop's size covers the screen also where
  // no window manager places it.
  SDL_Window* sdlWindow = SDL_CreateWindow(title, x, y, width, height,
                                           SDL_WINDOW_HIDDEN | SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (sdlWindow == nullptr) return nullptr;
  if (iconLoader_) {
    if (SDL_Surface* icon = iconLoader_(found->iconResource)) {
      SDL_SetWindowIcon(sdlWindow, icon);
      SDL_FreeSurface(icon);
    }
  }
  WindowHandle window = fromSdlWindow(sdlWindow);
  addWindow(window, found->procedure);
  if (mainWindow_ == nullptr) mainWindow_ = window;
  return window;
}

void SdlWindowSystem::showWindow(WindowHandle window, int /*showCommand*/) {
  SDL_ShowWindow(toSdlWindow(window));
  SDL_RaiseWindow(toSdlWindow(window));
}

void SdlWindowSystem::releaseWindow(WindowHandle window) {
  if (mainWindow_ == window) mainWindow_ = nullptr;
  SDL_DestroyWindow(toSdlWindow(window));
}

void SdlWindowSystem::translateEvent(const SDL_Event& event) {
  WindowHandle window = mainWindow_;
  switch (event.type) {
    case SDL_QUIT:  // window manager close, SIGINT, SIGTERM
      if (window != nullptr) postMessage(window, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      if (window == nullptr) break;
      switch (event.window.event) {
        // Every activation word carries the minimised flag while the window
        // is minimised (SDL also reports an unmapped window so), whatever
        // the focus does meanwhile.
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (focusListener_) focusListener_(true);
          postMessage(window, WM_ACTIVATE, WA_ACTIVE | minimisedFlag(), 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (focusListener_) focusListener_(false);
          postMessage(window, WM_ACTIVATE, WA_INACTIVE | minimisedFlag(), 0);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          minimised_ = true;
          postMessage(window, WM_ACTIVATE, WA_INACTIVE | minimisedFlag(), 0);
          break;
        case SDL_WINDOWEVENT_RESTORED:
          minimised_ = false;
          postMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          postMessage(window, WM_CLOSE, 0, 0);
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION:  // merged with a cursor message still queued
      if (window != nullptr) postMessage(window, WM_SETCURSOR, 0, 0);
      break;
    case SDL_KEYDOWN:  // auto-repeats count as presses
      if (window != nullptr) postMessage(window, WM_KEYDOWN, virtualKeyOf(event.key.keysym.sym), 0);
      break;
    default:
      break;
  }
}

void SdlWindowSystem::gatherMessages(bool wait) {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) translateEvent(event);
  while (wait && queue_.empty()) {
    if (SDL_WaitEvent(&event) == 0) return;
    translateEvent(event);
  }
}

void SdlWindowSystem::hideCursor() { SDL_ShowCursor(SDL_DISABLE); }

int SdlWindowSystem::messageBox(WindowHandle owner, const char* text, const char* caption,
                                std::uint32_t style) {
  const Uint32 flags = (style & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  SDL_Window* parent = owner != nullptr ? toSdlWindow(owner) : nullptr;
  return SDL_ShowSimpleMessageBox(flags, caption, text, parent) == 0 ? 1 : 0;
}

}  // namespace platform
