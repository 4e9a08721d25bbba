#pragma once
// Starting the main program, without waiting for it and without keeping a
// handle to it.
#include <string>

namespace platform {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // true once the program runs on its own; false with a reason for the user
  // when it could not be started.
  virtual bool startProgram(const char* programName, std::string* error) = 0;
};

}  // namespace platform
