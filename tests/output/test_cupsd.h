#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_directory.h"

namespace paltrix::output::testing {

// A private CUPS scheduler for one test: its own configuration, spool, state,
// cache and log folders in a temporary folder, listening on 127.0.0.1 only,
// without browsing. It never reads or writes /etc/cups or /run/cups.
//
// While it lives, CUPS_SERVER points this process (and the commands it runs)
// at it, CUPS_SERVERROOT and HOME point into its folder so that no client
// configuration or lpoptions of the machine interfere, and LPDEST/PRINTER are
// unset; libcups in the calling thread is told to read CUPS_SERVER again.
// Everything is restored, and the scheduler stopped, on destruction.
class TestCupsd {
 public:
  // The scheduler program, or nullopt when CUPS is not installed.
  static std::optional<std::filesystem::path> FindScheduler();

  // Starts the scheduler and waits until it answers.
  // Throws std::runtime_error (with the scheduler's log) when it does not.
  TestCupsd();
  TestCupsd(const TestCupsd&) = delete;
  TestCupsd& operator=(const TestCupsd&) = delete;
  ~TestCupsd();

  // "127.0.0.1:<port>"
  std::string server() const;

  // Adds an enabled raw queue (no driver, no filters) delivering to deviceUri;
  // throws when lpadmin fails.
  void AddRawQueue(const std::string& name, const std::string& deviceUri);
  void SetDefault(const std::string& name);
  // Runs a CUPS administration command (lpadmin, cupsreject, ...) against
  // this scheduler; throws when it fails.
  void Run(const std::string& program, std::vector<std::string> arguments);

 private:
  struct SavedVariable {
    std::string name;
    std::optional<std::string> value;
  };

  void WriteConfiguration();
  void WaitUntilAnswering();
  void Stop();
  std::string Log() const;
  void SetEnvironment(const char* name, const std::optional<std::string>& value);

  paltrix::testing::TempDirectory folder_;
  std::uint16_t port_ = 0;
  pid_t pid_ = -1;
  std::vector<SavedVariable> savedEnvironment_;
};

}  // namespace paltrix::output::testing
