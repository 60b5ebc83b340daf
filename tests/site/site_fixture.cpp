#include "tests/site/site_fixture.h"

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/support/file_text.h"

namespace paltrix::site::testing {

std::int64_t SerialOf(const std::string& sscc) {
  return std::stoll(sscc.substr(8, 9));
}

Station::Station(const std::string& databaseUrl) {
  std::ofstream(folder_ / "splab.ini") << "[Database]\nConnection=" << databaseUrl << "\n";
  Expect({"printer", "set", "--format", "zpl4", "--dots", "8", "--speed", "3", "--darkness", "10",
          "--labels-per-pallet", "1", "--printer", "file://" + (folder_ / "labels.zpl").string()});
}

CliResult Station::Run(const std::vector<std::string>& arguments) const {
  return cli::testing::RunCli(folder_.path(), arguments);
}

std::string Station::Expect(const std::vector<std::string>& arguments) const {
  const CliResult result = Run(arguments);
  EXPECT_EQ(result.exitStatus, 0) << arguments.at(0) << ": " << result.err;
  return result.out;
}

pid_t Station::StartPrint(const std::string& name, int pallets) const {
  return paltrix::testing::SpawnProgram(
      {PALTRIX_CLI_PATH, "--workdir", folder_.path().string(), "print", "--product", "100",
       "--pallets", std::to_string(pallets), "--labels", "1", "--printer",
       "file://" + (folder_ / (name + ".zpl")).string()},
      paltrix::testing::ChildOutput{folder_ / (name + ".out"), folder_ / (name + ".err")});
}

std::vector<std::string> Station::Reported(const std::string& name) const {
  return Lines(paltrix::testing::ReadFileText(folder_ / (name + ".out")));
}

std::vector<std::string> Station::Printed(const std::string& name) const {
  const std::filesystem::path file = folder_ / (name + ".zpl");
  if (!std::filesystem::exists(file)) return {};
  return PrintedSsccs(paltrix::testing::ReadFileText(file));
}

std::string Station::Errors(const std::string& name) const {
  return paltrix::testing::ReadFileText(folder_ / (name + ".err"));
}

std::int64_t Station::Serial() const {
  static const std::regex kSerial(R"(Serial: +(\d+)\n)");
  const std::string shown = Expect({"company", "show"});
  std::smatch match;
  if (!std::regex_search(shown, match, kSerial)) {
    ADD_FAILURE() << "no serial in: " << shown;
    return -1;
  }
  return std::stoll(match[1]);
}

void SiteTest::SetUp() {
  const Station& first = AddStation();
  first.Expect({"company", "set", "--name", "Grønt ApS", "--address1", "Havnevej 1", "--postcode",
                "5000", "--town", "Odense", "--phone", "12345678", "--prefix", "5790001",
                "--serial", "41", "--pallets", "1"});
  first.Expect({"product", "add", "--id", "100", "--name", "Rødkål", "--gtin", "5701234567899",
                "--shelf-life", "10", "--count", "40"});
}

Station& SiteTest::AddStation() {
  stations_.push_back(std::make_unique<Station>(database_.url()));
  return *stations_.back();
}

void Station::WaitForReported(const std::string& name, std::size_t lines) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Reported(name).size() < lines && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace paltrix::site::testing
