#pragma once
// A window system for tests: windows are numbers, messages go through an
// in-memory queue that a test can read, and nothing is shown.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/api/window_system.h"

namespace platform {

class FakeWindowSystem : public WindowSystem {
 public:
  int width = 1024;
  int height = 768;
  bool failCreation = false;
  int cursorHides = 0;
  std::vector<std::string> messageBoxes;  // "caption: text"
  std::vector<WindowHandle> destroyed;
  int waits = 0;
  // Called whenever the queue is found empty (a peek or a wait), so a test
  // can deliver the next message when the program is idle.
  std::function<void()> onIdle;

  // Messages posted and not yet taken.
  std::deque<Message>& pending() { return queue_; }
  // Makes a message arrive as if the user or the system had sent it.
  void deliver(WindowHandle window, std::uint32_t message, WParam wParam = 0, LParam lParam = 0);

  bool registerClass(const WindowClass& windowClass) override;
  int screenWidth() override { return width; }
  int screenHeight() override { return height; }
  WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                            int height) override;
  void showWindow(WindowHandle window, int showCommand) override;
  void updateWindow(WindowHandle) override {}
  bool destroyWindow(WindowHandle window) override;
  bool peekMessage(Message* message) override;
  int getMessage(Message* message) override;
  void translateMessage(const Message&) override {}
  LResult dispatchMessage(const Message& message) override;
  void waitMessage() override;
  bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                   LParam lParam) override;
  void postQuitMessage(int exitCode) override;
  LResult defWindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                        LParam lParam) override;
  void hideCursor() override { ++cursorHides; }
  int messageBox(WindowHandle owner, const char* text, const char* caption,
                 std::uint32_t style) override;

 private:
  std::map<std::string, WindowProc> classes_;
  std::map<WindowHandle, WindowProc> windows_;
  std::deque<Message> queue_;
  std::uintptr_t nextWindow_ = 1;
};

}  // namespace platform
