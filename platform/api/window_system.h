#pragma once
// Windows and their messages: a window procedure receives numbered messages
// with two parameters; a queue is peeked, taken, dispatched or waited on.
#include <cstdint>

#include "platform/api/window_handle.h"

namespace platform {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WindowProc = LResult (*)(WindowHandle window, std::uint32_t message, WParam wParam,
                               LParam lParam);

constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_SETCURSOR = 0x0020;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;

// Activation values: the low word says active or not, the high word is
// non-zero while the window is minimised.
constexpr WParam WA_INACTIVE = 0;
constexpr WParam WA_ACTIVE = 1;
constexpr WParam kMinimisedFlag = WParam{1} << 16;

constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_F1 = 0x70;
constexpr std::uint32_t VK_F2 = 0x71;
constexpr std::uint32_t VK_F3 = 0x72;
constexpr std::uint32_t VK_F4 = 0x73;
constexpr std::uint32_t VK_F5 = 0x74;
constexpr std::uint32_t VK_F6 = 0x75;
constexpr std::uint32_t VK_F7 = 0x76;
constexpr std::uint32_t VK_F8 = 0x77;
constexpr std::uint32_t VK_F9 = 0x78;
constexpr std::uint32_t VK_F10 = 0x79;
constexpr std::uint32_t VK_F11 = 0x7A;
constexpr std::uint32_t VK_F12 = 0x7B;

constexpr int SW_SHOWNORMAL = 1;
constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_ICONERROR = 0x10;

struct Message {
  WindowHandle window = nullptr;
  std::uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
};

struct WindowClass {
  const char* className = nullptr;
  const char* menuName = nullptr;
  WindowProc procedure = nullptr;
  int iconResource = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual bool registerClass(const WindowClass& windowClass) = 0;
  virtual int screenWidth() = 0;
  virtual int screenHeight() = 0;
  // A popup window of the registered class; null when it cannot be made.
  virtual WindowHandle createWindow(const char* className, const char* title, int x, int y,
                                    int width, int height) = 0;
  virtual void showWindow(WindowHandle window, int showCommand) = 0;
  virtual void updateWindow(WindowHandle window) = 0;
  // Sends WM_DESTROY to the window's procedure, then removes the window.
  virtual bool destroyWindow(WindowHandle window) = 0;

  // True when a message waits; it stays in the queue.
  virtual bool peekMessage(Message* message) = 0;
  // Takes the next message, waiting for one; 0 for WM_QUIT, else 1.
  virtual int getMessage(Message* message) = 0;
  virtual void translateMessage(const Message& message) = 0;
  virtual LResult dispatchMessage(const Message& message) = 0;
  // Blocks until a message arrives.
  virtual void waitMessage() = 0;
  virtual bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                           LParam lParam) = 0;
  virtual void postQuitMessage(int exitCode) = 0;
  // The default handling: WM_CLOSE destroys the window; the rest does nothing.
  virtual LResult defWindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                                LParam lParam) = 0;

  virtual void hideCursor() = 0;
  virtual int messageBox(WindowHandle owner, const char* text, const char* caption,
                         std::uint32_t style) = 0;
};

}  // namespace platform
