#pragma once
#include "platform/api/program_starter.h"

namespace platform {

// Runs "./<name>" from the working directory with no arguments. A double fork
// hands the program to init at once, so it is never waited for and never
// left as a zombie.
class PosixProgramStarter : public ProgramStarter {
 public:
  void startProgram(const char* programName) override;
};

}  // namespace platform
