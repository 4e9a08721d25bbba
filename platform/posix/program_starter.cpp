#include "platform/posix/program_starter.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace platform {

void PosixProgramStarter::startProgram(const char* programName) {
  const std::string path = std::string("./") + programName;
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    // Only async-signal-safe calls from here on: the parent may have threads.
    if (fork() == 0) {
      setsid();
      const long maxFd = sysconf(_SC_OPEN_MAX);
      for (int fd = 3; fd < (maxFd > 0 ? maxFd : 1024); ++fd) close(fd);
      execl(path.c_str(), programName, static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);  // the middle process ends at once
}

}  // namespace platform
