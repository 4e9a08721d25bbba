#pragma once
// Small doubles for the launcher's services: message boxes that record what
// they showed, a message loop that only records quit requests, a program
// starter that counts starts, and a save chooser that answers as scripted.
#include <string>
#include <vector>

#include "platform/api/dialog.h"
#include "platform/api/message_box.h"
#include "platform/api/program_starter.h"
#include "platform/api/save_file_chooser.h"
#include "platform/api/wait_cursor.h"

namespace platform::fake {

class RecordingMessageBoxes : public MessageBoxes {
 public:
  void showError(const char* text, const char* caption) override {
    texts.emplace_back(text);
    captions.emplace_back(caption);
  }
  std::vector<std::string> texts;
  std::vector<std::string> captions;
};

class FakeMessageLoop : public MessageLoop {
 public:
  void waitAndDispatch(unsigned milliseconds) override;
  void postQuit() override { quit_ = true; ++quitsPosted; }
  bool takeQuit() override;
  void wake() override { ++wakes; }

  // Run once per wait, as if messages had arrived.
  std::function<void()> onWait;
  int waits = 0;
  int quitsPosted = 0;
  int wakes = 0;

 private:
  bool quit_ = false;
};

class CountingProgramStarter : public ProgramStarter {
 public:
  bool startProgram(const char* programName, std::string* error) override {
    if (!failure.empty()) {
      if (error) *error = failure;
      return false;
    }
    started.emplace_back(programName);
    return true;
  }
  std::vector<std::string> started;
  std::string failure;  // when set, every start fails with this reason
};

// Counts the wait cursor's turns; onShow and onRestore let a test look at
// what happens in between.
class CountingWaitCursor : public WaitCursor {
 public:
  void show() override {
    ++shows;
    if (onShow) onShow();
  }
  void restore() override {
    ++restores;
    if (onRestore) onRestore();
  }
  int shows = 0;
  int restores = 0;
  std::function<void()> onShow;
  std::function<void()> onRestore;
};

class ScriptedSaveChooser : public SaveFileChooser {
 public:
  bool getSaveFileName(SaveFileRequest* request) override;
  std::string answer;  // empty: the user cancels
  std::vector<SaveFileRequest> requests;
};

}  // namespace platform::fake
