#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/cli_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/postgres_test_server.h"
#include "tests/support/temp_directory.h"

// Packing stations that share one PostgreSQL database: each station is a
// working directory of its own whose settings INI names the database.
namespace paltrix::site::testing {

using cli::testing::CliResult;
using cli::testing::Lines;
using cli::testing::PrintedSsccs;

// The serial (the nine digits before the check digit) of an 18-digit SSCC
// with extension digit and the 7-digit prefix.
std::int64_t SerialOf(const std::string& sscc);

// A working directory whose ".\splab.ini" names `databaseUrl`, with its own
// label printer: a file:// printer in the directory.
class Station {
 public:
  explicit Station(const std::string& databaseUrl);

  const std::filesystem::path& folder() const { return folder_.path(); }
  CliResult Run(const std::vector<std::string>& arguments) const;
  // Runs and expects exit status 0; the standard output.
  std::string Expect(const std::vector<std::string>& arguments) const;

  // Starts `print` of `pallets` pallets of product 100, one label each, to
  // the printer file `name`.zpl; standard output and error go to
  // `name`.out / `name`.err.
  pid_t StartPrint(const std::string& name, int pallets) const;
  std::vector<std::string> Reported(const std::string& name) const;
  std::vector<std::string> Printed(const std::string& name) const;
  std::string Errors(const std::string& name) const;
  // Waits until the print `name` has reported `lines` SSCCs (or 60 s).
  void WaitForReported(const std::string& name, std::size_t lines) const;

  // The stored serial as `company show` tells it.
  std::int64_t Serial() const;

 private:
  paltrix::testing::TempDirectory folder_;
};

// A database with a company (prefix 5790001, last serial 41) and product 100,
// set up through the first station.
class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // A new station on the database.
  Station& AddStation();

  paltrix::testing::ScratchDatabase database_;
  std::vector<std::unique_ptr<Station>> stations_;
};

}  // namespace paltrix::site::testing
