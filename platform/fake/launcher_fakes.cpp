#include "platform/fake/launcher_fakes.h"

namespace platform::fake {

void FakeMessageLoop::waitAndDispatch(unsigned) {
  ++waits;
  if (onWait) onWait();
}

bool FakeMessageLoop::takeQuit() {
  const bool was = quit_;
  quit_ = false;
  return was;
}

bool ScriptedSaveChooser::getSaveFileName(SaveFileRequest* request) {
  requests.push_back(*request);
  if (answer.empty()) return false;
  request->fileName = answer;
  return true;
}

}  // namespace platform::fake
