#pragma once
#include <string>

#include "platform/api/program_starter.h"

namespace platform {

// Runs <programFolder>/<name> with no arguments in the current working
// directory, by posix_spawn: no descriptor but the standard three reaches
// it, it gets its own session and default signal handling, and it is never
// waited for. The first start asks the system to reap the programs when they
// end, so none is left as a zombie.
class PosixProgramStarter : public ProgramStarter {
 public:
  explicit PosixProgramStarter(std::string programFolder) : programFolder_(std::move(programFolder)) {}
  bool startProgram(const char* programName, std::string* error) override;

 private:
  std::string programFolder_;
};

}  // namespace platform
