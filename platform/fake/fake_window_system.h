#pragma once
// A window system for tests: windows are numbers, nothing is shown, and the
// shared message queue is open for a test to read.
#include <functional>
#include <string>
#include <vector>

#include "platform/windows/queued_window_system.h"

namespace platform {

class FakeWindowSystem : public QueuedWindowSystem {
 public:
  int width = 1024;
  int height = 768;
  bool failCreation = false;
  int cursorHides = 0;
  std::vector<std::string> messageBoxes;  // "caption: text"
  std::vector<WindowHandle> destroyed;
  int waits = 0;
  // Called whenever the queue is found empty (a peek, get or wait), so a test
  // can deliver the next message when the program is idle.
  std::function<void()> onIdle;

  // Messages posted and not yet taken.
  std::deque<Message>& pending() { return queue_; }
  // Makes a message arrive as if the user or the system had sent it.
  void deliver(WindowHandle window, std::uint32_t message, WParam wParam = 0, LParam lParam = 0);

  int screenWidth() override { return width; }
  int screenHeight() override { return height; }
  WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                            int height) override;
  void showWindow(WindowHandle window, int showCommand) override;
  void waitMessage() override;
  void hideCursor() override { ++cursorHides; }
  int messageBox(WindowHandle owner, const char* text, const char* caption,
                 std::uint32_t style) override;

 private:
  void gatherMessages(bool wait) override;
  void releaseWindow(WindowHandle window) override { destroyed.push_back(window); }

  std::uintptr_t nextWindow_ = 1;
};

}  // namespace platform
