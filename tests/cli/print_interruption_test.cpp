// A label run that is killed, signalled, or whose standard output or error
// goes away: standard output names exactly the SSCCs that reached the
// printer, and the exit status never says all went well.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/cli/cli_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

extern char** environ;

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;

class PrintInterruptionTest : public CliTest {
 protected:
  std::vector<std::string> PrintCommand(int pallets) const {
    return {PALTRIX_CLI_PATH,
            "--workdir",
            folder_.path().string(),
            "print",
            "--product",
            "100",
            "--pallets",
            std::to_string(pallets),
            "--labels",
            "1"};
  }

  // Starts a long run and waits until it has reported `lines` SSCCs.
  pid_t StartRunAndWaitFor(std::size_t lines) {
    const pid_t child = paltrix::testing::SpawnProgram(PrintCommand(2000), output_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Lines(paltrix::testing::ReadFileText(output_.out)).size() < lines &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return child;
  }

  paltrix::testing::ChildOutput output_{folder_ / "print.out", folder_ / "print.err"};
};

TEST_F(PrintInterruptionTest, AKilledRunHasReportedEveryPrintedSsccButTheOneInHand) {
  const pid_t child = StartRunAndWaitFor(25);
  kill(child, SIGKILL);
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 128 + SIGKILL);

  const std::vector<std::string> reported = Lines(paltrix::testing::ReadFileText(output_.out));
  const std::vector<std::string> printed = PrintedSsccs(PrintedFile());
  ASSERT_GE(reported.size(), 25u);
  ASSERT_GE(printed.size(), reported.size());
  EXPECT_LE(printed.size(), reported.size() + 1) << "only the pallet in hand may be unreported";
  EXPECT_TRUE(std::equal(reported.begin(), reported.end(), printed.begin()))
      << "each reported SSCC reached the printer, in order";
}

TEST_F(PrintInterruptionTest, SigtermEndsTheRunAfterThePalletInHandWithASummary) {
  const pid_t child = StartRunAndWaitFor(10);
  kill(child, SIGTERM);
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 128 + SIGTERM);

  const std::vector<std::string> reported = Lines(paltrix::testing::ReadFileText(output_.out));
  EXPECT_EQ(PrintedSsccs(PrintedFile()), reported);
  EXPECT_LT(reported.size(), 2000u);
  const std::string err = paltrix::testing::ReadFileText(output_.err);
  EXPECT_THAT(err, HasSubstr("stopped on SIGTERM after " + std::to_string(reported.size()) +
                             " of 2000 pallets"));
  EXPECT_THAT(err, HasSubstr("the last SSCC printed is " + reported.back()));
  std::string serial = std::to_string(41 + reported.size());
  serial.insert(0, 9 - serial.size(), '0');
  EXPECT_THAT(Expect({"company", "show"}), HasSubstr("Serial:      " + serial + "\n"))
      << "no SSCC was spent on a pallet that was not begun";
}

// Runs paltrix-cli with standard output (or error) on a pipe whose reading
// end is already closed; the other stream goes to a file.
int RunIntoClosedPipe(std::vector<std::string> words, int brokenStream,
                      const std::filesystem::path& other) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  close(ends[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, ends[1], brokenStream);
  posix_spawn_file_actions_addopen(&actions, brokenStream == 1 ? 2 : 1, other.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  return error == 0 ? paltrix::testing::WaitForExit(child) : -1;
}

TEST_F(PrintInterruptionTest, StandardOutputOrErrorClosedOrFullEndsWithAFailureNeverAnAbort) {
  // Standard output closed: the run ends after the first pallet.
  int status = RunIntoClosedPipe(PrintCommand(50), 1, folder_ / "err.txt");
  EXPECT_EQ(status, 5);
  EXPECT_THAT(paltrix::testing::ReadFileText(folder_ / "err.txt"),
              HasSubstr("standard output or error failed after 1 of 50 pallets"));
  EXPECT_EQ(PrintedSsccs(PrintedFile()).size(), 1u);

  // Standard output full.
  pid_t child = paltrix::testing::SpawnProgram(PrintCommand(3), {"/dev/full", folder_ / "err.txt"});
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 5);
  EXPECT_EQ(PrintedSsccs(PrintedFile()).size(), 2u);

  // Standard error closed or full while a message is due: bad input, a label
  // that did not print, the company list.
  const std::vector<std::string> badInput = {
      PALTRIX_CLI_PATH, "--workdir", folder_.path().string(), "company", "set", "--serial", "x"};
  EXPECT_EQ(RunIntoClosedPipe(badInput, 2, folder_ / "out.txt"), 2);
  std::vector<std::string> unreachable = PrintCommand(2);
  unreachable.insert(unreachable.end(), {"--printer", "socket://127.0.0.1:1"});
  child = paltrix::testing::SpawnProgram(unreachable, {folder_ / "out.txt", "/dev/full"});
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 5);
  EXPECT_EQ(paltrix::testing::ReadFileText(folder_ / "out.txt"), "");
  const std::vector<std::string> show = {PALTRIX_CLI_PATH, "--workdir", folder_.path().string(),
                                         "company", "show"};
  child = paltrix::testing::SpawnProgram(show, {"/dev/full", "/dev/full"});
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 5);
  EXPECT_EQ(RunIntoClosedPipe({PALTRIX_CLI_PATH, "--help"}, 1, folder_ / "err.txt"), 5);
}

}  // namespace
}  // namespace paltrix::cli::testing
