#include "platform/fake/fake_window_system.h"

namespace platform {

void FakeWindowSystem::deliver(WindowHandle window, std::uint32_t message, WParam wParam,
                               LParam lParam) {
  queue_.push_back(Message{window, message, wParam, lParam});
}

bool FakeWindowSystem::registerClass(const WindowClass& windowClass) {
  classes_[windowClass.className] = windowClass.procedure;
  return true;
}

WindowHandle FakeWindowSystem::createWindow(const char* className, const char*, int, int, int,
                                            int) {
  auto found = classes_.find(className);
  if (failCreation || found == classes_.end()) return nullptr;
  WindowHandle window = reinterpret_cast<WindowHandle>(nextWindow_++);
  windows_[window] = found->second;
  return window;
}

void FakeWindowSystem::showWindow(WindowHandle window, int) {
  deliver(window, WM_ACTIVATE, WA_ACTIVE);
}

bool FakeWindowSystem::destroyWindow(WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) return false;
  found->second(window, WM_DESTROY, 0, 0);
  windows_.erase(window);
  destroyed.push_back(window);
  return true;
}

bool FakeWindowSystem::peekMessage(Message* message) {
  if (queue_.empty() && onIdle) onIdle();
  if (queue_.empty()) return false;
  *message = queue_.front();
  return true;
}

int FakeWindowSystem::getMessage(Message* message) {
  if (queue_.empty()) {
    *message = Message{nullptr, WM_QUIT, 0, 0};
    return 0;
  }
  *message = queue_.front();
  queue_.pop_front();
  return message->message == WM_QUIT ? 0 : 1;
}

void FakeWindowSystem::waitMessage() {
  ++waits;
  if (queue_.empty() && onIdle) onIdle();
}

LResult FakeWindowSystem::dispatchMessage(const Message& message) {
  auto found = windows_.find(message.window);
  if (found == windows_.end()) return 0;
  return found->second(message.window, message.message, message.wParam, message.lParam);
}

bool FakeWindowSystem::postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                                   LParam lParam) {
  deliver(window, message, wParam, lParam);
  return true;
}

void FakeWindowSystem::postQuitMessage(int exitCode) {
  deliver(nullptr, WM_QUIT, static_cast<WParam>(exitCode));
}

LResult FakeWindowSystem::defWindowProc(WindowHandle window, std::uint32_t message, WParam,
                                        LParam) {
  if (message == WM_CLOSE) destroyWindow(window);
  return 0;
}

int FakeWindowSystem::messageBox(WindowHandle, const char* text, const char* caption,
                                 std::uint32_t) {
  messageBoxes.push_back(std::string(caption) + ": " + text);
  return 1;
}

}  // namespace platform
