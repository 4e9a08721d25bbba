#pragma once
// Starting another program of the working directory, without waiting for it
// and without keeping a handle to it.

namespace platform {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // The result is not observed by callers; the program runs on its own.
  virtual void startProgram(const char* programName) = 0;
};

}  // namespace platform
