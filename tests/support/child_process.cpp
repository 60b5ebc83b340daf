#include "tests/support/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace paltrix::testing {

pid_t SpawnProgram(const std::vector<std::string>& words, const ChildOutput& output) {
  std::vector<std::string> copies = words;
  std::vector<char*> argv;
  for (std::string& word : copies) argv.push_back(word.data());
  argv.push_back(nullptr);

  const int flags = O_WRONLY | O_CREAT | (output.append ? O_APPEND : O_TRUNC);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.out.c_str(), flags, 0644);
  if (output.err.empty()) {
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, output.err.c_str(), flags, 0644);
  }
  pid_t child = -1;
  const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + words.at(0));
  return child;
}

namespace {

// The child's status, or nullopt when `options` holds WNOHANG and it runs on.
std::optional<int> Wait(pid_t child, int options) {
  int status = 0;
  pid_t waited;
  while ((waited = waitpid(child, &status, options)) < 0) {
    if (errno != EINTR) throw std::runtime_error("lost the child process");
  }
  if (waited == 0) return std::nullopt;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int WaitForExit(pid_t child) {
  return *Wait(child, 0);
}

std::optional<int> ExitStatusIfEnded(pid_t child) {
  return Wait(child, WNOHANG);
}

}  // namespace paltrix::testing
