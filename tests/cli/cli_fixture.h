#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::cli::testing {

// The lines of a program's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The SSCC data of every label in printed label streams, in order.
inline std::vector<std::string> PrintedSsccs(const std::string& printed) {
  static const std::regex kSsccField(R"(\^FD>;>800(\d{18})\^FS)");
  std::vector<std::string> ssccs;
  for (std::sregex_iterator it(printed.begin(), printed.end(), kSsccField), end; it != end; ++it) {
    ssccs.push_back((*it)[1]);
  }
  return ssccs;
}

// A working directory as the program expects it, with a company (prefix
// 5790001, last serial 41), a 4-inch printer set-up and one product.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_ / "Data");
    Expect({"company", "set", "--name", "Grønt ApS", "--address1", "Havnevej 1", "--postcode",
            "5000", "--town", "Odense", "--phone", "12345678", "--prefix", "5790001", "--serial",
            "41", "--pallets", "1"});
    Expect({"printer", "set", "--format", "zpl4", "--dots", "8", "--speed", "3", "--darkness", "10",
            "--labels-per-pallet", "4", "--printer", FileUri()});
    Expect({"product", "add", "--id", "100", "--name", "Rødkål", "--gtin", "5701234567899",
            "--shelf-life", "10", "--count", "40"});
  }

  CliResult Run(const std::vector<std::string>& arguments) {
    return RunCli(folder_.path(), arguments);
  }

  std::string Expect(const std::vector<std::string>& arguments) {
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.exitStatus, 0) << arguments.at(0) << ": " << result.err;
    return result.out;
  }

  std::string FileUri() const { return "file://" + (folder_ / "labels.zpl").string(); }
  std::string PrintedFile() const { return paltrix::testing::ReadFileText(folder_ / "labels.zpl"); }
  // The company record as stored: the file's bytes, or what `company show`
  // tells of it when the record files are on a database (on_postgres.cpp).
  std::string CompanyRecord() {
    if (std::getenv("PALTRIX_DATABASE") != nullptr) return Expect({"company", "show"});
    return paltrix::testing::ReadFileText(folder_ / "Data" / "DFIRMA.DAT");
  }

  paltrix::testing::TempDirectory folder_;
};

}  // namespace paltrix::cli::testing
