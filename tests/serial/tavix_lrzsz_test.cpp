// `tavix` against lrzsz over a pseudo-terminal line, both directions, byte-exact files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "line_simulator.h"
#include "tests/support/temp_directory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using paltrix::testing::TempDirectory;

constexpr auto kTransferLimit = std::chrono::seconds(60);

// Starts a program in `folder` with standard input and output on `device` (a peer of lrzsz
// talks over its standard streams) or, with an empty device, on /dev/null.
pid_t Start(const std::vector<std::string>& words, const fs::path& folder,
            const std::string& device, const fs::path& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string input = device.empty() ? "/dev/null" : device;
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDWR | O_NOCTTY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, input.c_str(), O_RDWR | O_NOCTTY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = -1;
  const int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? child : -1;
}

// The exit status, or -1 when the program had to be stopped after the transfer limit.
int Finish(pid_t child) {
  const auto deadline = std::chrono::steady_clock::now() + kTransferLimit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteRandomFile(const fs::path& file, std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());  // every control character too
  std::ofstream(file, std::ios::binary) << bytes;
}

struct Case {
  const char* protocol;
  const char* lrzszSend;
  const char* lrzszReceive;
};

class TavixLine : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "out");
    fs::create_directories(root_ / "in");
    WriteRandomFile(root_ / "out" / "random.bin", 70000, 7);
    WriteRandomFile(root_ / "out" / "one.bin", 1, 8);
    WriteRandomFile(root_ / "out" / "empty.bin", 0, 9);
  }

  std::string Log() const { return Contents(root_ / "tavix.log") + Contents(root_ / "peer.log"); }

  void SendWithTavix(const Case& test) {
    const pid_t peer =
        Start({test.lrzszReceive, "-q", "-y"}, root_ / "in", line_.endB(), root_ / "peer.log");
    ASSERT_GT(peer, 0);
    const std::vector<std::string> files = {"random.bin", "one.bin", "empty.bin"};
    std::vector<std::string> command = {TAVIX_EXECUTABLE, "send",        "--port", line_.endA(),
                                        "--protocol",     test.protocol, "--quiet"};
    for (const std::string& file : files) command.push_back((root_ / "out" / file).string());
    const pid_t tavix = Start(command, root_.path(), "", root_ / "tavix.log");
    EXPECT_EQ(Finish(tavix), 0) << Log();
    EXPECT_EQ(Finish(peer), 0) << Log();
    for (const std::string& file : files)
      EXPECT_EQ(Contents(root_ / "in" / file), Contents(root_ / "out" / file)) << file << Log();
  }

  TempDirectory root_;
  tavix::linesim::LineSimulator line_{{}};
};

class TavixLrzszTest : public TavixLine, public ::testing::WithParamInterface<Case> {};

TEST_F(TavixLine, TavixSendsZmodemToRz) {
  SendWithTavix({"zmodem", "sz", "rz"});
}

TEST_F(TavixLine, TavixSendsYmodemToRb) {
  SendWithTavix({"ymodem", "sb", "rb"});
}

TEST_P(TavixLrzszTest, LrzszSendsAndTavixReceives) {
  const Case& test = GetParam();
  const pid_t tavix = Start({TAVIX_EXECUTABLE, "receive", "--port", line_.endA(), "--protocol",
                             test.protocol, "--quiet", "--dir", (root_ / "in").string()},
                            root_.path(), "", root_ / "tavix.log");
  const pid_t peer = Start({test.lrzszSend, "-q", "random.bin", "one.bin", "empty.bin"},
                           root_ / "out", line_.endB(), root_ / "peer.log");
  ASSERT_GT(peer, 0);
  EXPECT_EQ(Finish(peer), 0) << Log();
  EXPECT_EQ(Finish(tavix), 0) << Log();
  for (const char* file : {"random.bin", "one.bin", "empty.bin"})
    EXPECT_EQ(Contents(root_ / "in" / file), Contents(root_ / "out" / file)) << file << Log();
}

INSTANTIATE_TEST_SUITE_P(Batches, TavixLrzszTest,
                         ::testing::Values(Case{"zmodem", "sz", "rz"}, Case{"ymodem", "sb", "rb"}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.protocol);
                         });

}  // namespace
