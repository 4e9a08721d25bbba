#pragma once
// The rules every window system shares: the class registry, the windows and
// their procedures, and one message queue with peek, get, dispatch and wait.
// A system adds only what is its own: making and showing a window, and
// gathering its events into the queue.
#include <deque>
#include <map>
#include <string>

#include "platform/api/window_system.h"

namespace platform {

class QueuedWindowSystem : public WindowSystem {
 public:
  bool registerClass(const WindowClass& windowClass) override;
  bool destroyWindow(WindowHandle window) override;
  bool peekMessage(Message* message) override;
  int getMessage(Message* message) override;
  void updateWindow(WindowHandle) override {}  // windows are drawn by their owners
  void translateMessage(const Message&) override {}
  LResult dispatchMessage(const Message& message) override;
  void waitMessage() override;
  // Repeated cursor messages merge: one stands for every move until it is
  // taken, so a moving mouse never fills the queue ahead of frames and keys.
  bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                   LParam lParam) override;
  void postQuitMessage(int exitCode) override;
  LResult defWindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                        LParam lParam) override;

 protected:
  // The registered class of that name; null when there is none.
  const WindowClass* findClass(const char* className) const;
  void addWindow(WindowHandle window, WindowProc procedure) { procedures_[window] = procedure; }
  // Moves the system's events into the queue; with wait, returns only once a
  // message is queued or none can come.
  virtual void gatherMessages(bool wait) = 0;
  // The system's own part of destroying, after the procedure saw WM_DESTROY.
  virtual void releaseWindow(WindowHandle window) = 0;

  std::deque<Message> queue_;

 private:
  std::map<std::string, WindowClass> classes_;
  std::map<WindowHandle, WindowProc> procedures_;
};

}  // namespace platform
