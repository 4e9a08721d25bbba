#include "platform/fake/fake_window_system.h"

namespace platform {

void FakeWindowSystem::deliver(WindowHandle window, std::uint32_t message, WParam wParam,
                               LParam lParam) {
  postMessage(window, message, wParam, lParam);
}

WindowHandle FakeWindowSystem::createWindow(const char* className, const char*, int, int, int,
                                            int) {
  const WindowClass* found = findClass(className);
  if (failCreation || found == nullptr) return nullptr;
  WindowHandle window = reinterpret_cast<WindowHandle>(nextWindow_++);
  addWindow(window, found->procedure);
  return window;
}

void FakeWindowSystem::showWindow(WindowHandle window, int) {
  deliver(window, WM_ACTIVATE, WA_ACTIVE);
}

// The program is idle: a test may deliver the next message now.
void FakeWindowSystem::gatherMessages(bool) {
  if (queue_.empty() && onIdle) onIdle();
}

void FakeWindowSystem::waitMessage() {
  ++waits;
  QueuedWindowSystem::waitMessage();
}

int FakeWindowSystem::messageBox(WindowHandle, const char* text, const char* caption,
                                 std::uint32_t) {
  messageBoxes.push_back(std::string(caption) + ": " + text);
  return 1;
}

}  // namespace platform
