#include "platform/posix/program_starter.h"

#include <signal.h>
#include <spawn.h>

#include <cstring>
#include <initializer_list>

extern char** environ;

namespace platform {

namespace {

// Children that end are reaped by the system; SIGCHLD itself keeps its
// default action.
void reapChildrenAutomatically() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  action.sa_flags = SA_NOCLDWAIT;
  sigemptyset(&action.sa_mask);
  sigaction(SIGCHLD, &action, nullptr);
}

}  // namespace

bool PosixProgramStarter::startProgram(const char* programName, std::string* error) {
  static const bool reaping = (reapChildrenAutomatically(), true);
  (void)reaping;
  const std::string path = programFolder_.empty() ? std::string(programName)
                                                  : programFolder_ + "/" + programName;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);  // close_range underneath

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGCHLD, SIGTERM, SIGINT, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  char* const arguments[] = {const_cast<char*>(programName), nullptr};
  pid_t child = 0;
  const int failure = posix_spawn(&child, path.c_str(), &actions, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0 && error) *error = "Can not start " + path + ": " + std::strerror(failure);
  return failure == 0;
}

}  // namespace platform
