// Time from starting the label program to its frame being on screen: the
// program is started with PALTRIX_QUIT_AFTER_SHOWN=1 on the offscreen platform
// in a fresh working directory with a Data folder, and the benchmark waits for
// it to end, so each iteration is start + frame shown + orderly close (an
// upper bound of the start-up time; the goal is well under one second).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

namespace {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "paltrix-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Starts the program in `folder` and waits for it; returns its exit status, or
// -1 when it could not be started or did not exit normally.
int RunProgramOnce(const std::filesystem::path& folder) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  environment.emplace_back("QT_QPA_PLATFORM=offscreen");
  environment.emplace_back("PALTRIX_QUIT_AFTER_SHOWN=1");
  environment.emplace_back("PALTRIX_DESKTOP_SETTINGS=" + (folder / "desktop.ini").string());
  std::vector<char*> environmentPointers;
  for (std::string& entry : environment) environmentPointers.push_back(entry.data());
  environmentPointers.push_back(nullptr);

  std::string program = PALTRIX_EXECUTABLE;
  char* arguments[] = {program.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments,
                                  environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_StartToFrameShown(benchmark::State& state) {
  ScratchFolder folder;
  std::error_code error;
  std::filesystem::create_directory(folder.path() / "Data", error);
  if (folder.path().empty() || error) {
    state.SkipWithError("cannot prepare a working directory");
    return;
  }
  for (auto _ : state) {
    if (RunProgramOnce(folder.path()) != 0) {
      state.SkipWithError("the program did not start and end cleanly");
      return;
    }
  }
}
BENCHMARK(BM_StartToFrameShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
