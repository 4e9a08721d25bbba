#include "platform/windows/queued_window_system.h"

#include <algorithm>

namespace platform {

bool QueuedWindowSystem::registerClass(const WindowClass& windowClass) {
  if (windowClass.className == nullptr || windowClass.procedure == nullptr) return false;
  classes_[windowClass.className] = windowClass;
  return true;
}

const WindowClass* QueuedWindowSystem::findClass(const char* className) const {
  auto found = classes_.find(className != nullptr ? className : "");
  return found != classes_.end() ? &found->second : nullptr;
}

bool QueuedWindowSystem::destroyWindow(WindowHandle window) {
  auto found = procedures_.find(window);
  if (found == procedures_.end()) return false;
  WindowProc procedure = found->second;
  procedure(window, WM_DESTROY, 0, 0);
  procedures_.erase(window);
  releaseWindow(window);
  return true;
}

bool QueuedWindowSystem::peekMessage(Message* message) {
  if (queue_.empty()) gatherMessages(false);
  if (queue_.empty()) return false;
  *message = queue_.front();
  return true;
}

int QueuedWindowSystem::getMessage(Message* message) {
  gatherMessages(queue_.empty());
  if (queue_.empty()) {
    *message = Message{nullptr, WM_QUIT, 0, 0};
    return 0;
  }
  *message = queue_.front();
  queue_.pop_front();
  return message->message == WM_QUIT ? 0 : 1;
}

LResult QueuedWindowSystem::dispatchMessage(const Message& message) {
  auto found = procedures_.find(message.window);
  if (found == procedures_.end()) return 0;
  return found->second(message.window, message.message, message.wParam, message.lParam);
}

void QueuedWindowSystem::waitMessage() { gatherMessages(queue_.empty()); }

bool QueuedWindowSystem::postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                                     LParam lParam) {
  const bool merged = message == WM_SETCURSOR && std::any_of(queue_.begin(), queue_.end(), [&](const Message& m) {
                        return m.message == WM_SETCURSOR && m.window == window;
                      });
  if (!merged) queue_.push_back(Message{window, message, wParam, lParam});
  return true;
}

void QueuedWindowSystem::postQuitMessage(int exitCode) {
  postMessage(nullptr, WM_QUIT, static_cast<WParam>(exitCode), 0);
}

LResult QueuedWindowSystem::defWindowProc(WindowHandle window, std::uint32_t message, WParam,
                                          LParam) {
  if (message == WM_CLOSE) destroyWindow(window);
  return 0;
}

}  // namespace platform
