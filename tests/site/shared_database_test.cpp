// Several stations printing from one database at once: every SSCC is given
// out once, whatever else happens to the stations or the server.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/site/site_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::site::testing {
namespace {

constexpr int kPalletsPerRun = 500;
constexpr int kFirstSerial = 41;

struct PrintRun {
  const Station* station;
  std::string name;
  pid_t pid;
};

// Four runs, two on each of two stations.
std::vector<PrintRun> StartFourRuns(const Station& first, const Station& second) {
  std::vector<PrintRun> runs;
  for (int i = 0; i < 4; ++i) {
    const Station& station = i % 2 == 0 ? first : second;
    const std::string name = "run" + std::to_string(i);
    runs.push_back(PrintRun{&station, name, station.StartPrint(name, kPalletsPerRun)});
  }
  return runs;
}

// Changes the company's name on `station` until every run has ended; the
// runs' exit statuses.
std::vector<int> ChangeNameUntilDone(const Station& station, const std::vector<PrintRun>& runs,
                                     int& changes) {
  std::vector<std::optional<int>> statuses(runs.size());
  while (std::any_of(statuses.begin(), statuses.end(), [](auto& s) { return !s.has_value(); })) {
    station.Expect({"company", "set", "--name", "Firma " + std::to_string(changes++)});
    for (std::size_t i = 0; i < runs.size(); ++i) {
      if (!statuses[i]) statuses[i] = paltrix::testing::ExitStatusIfEnded(runs[i].pid);
    }
  }
  std::vector<int> ended;
  for (const std::optional<int>& status : statuses) ended.push_back(*status);
  return ended;
}

TEST_F(SiteTest, FourRunsOnTwoStationsBesideCompanyChangesGiveDistinctSsccs) {
  const Station& first = *stations_[0];
  const Station& second = AddStation();
  const std::vector<PrintRun> runs = StartFourRuns(first, second);
  int changes = 0;
  const std::vector<int> statuses = ChangeNameUntilDone(second, runs, changes);
  EXPECT_GT(changes, 1) << "the company changes ran while the stations printed";

  std::set<std::string> all;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const PrintRun& run = runs[i];
    ASSERT_EQ(statuses[i], 0) << run.name << ": " << run.station->Errors(run.name);
    const std::vector<std::string> reported = run.station->Reported(run.name);
    EXPECT_EQ(reported.size(), static_cast<std::size_t>(kPalletsPerRun)) << run.name;
    EXPECT_EQ(run.station->Printed(run.name), reported) << run.name;
    all.insert(reported.begin(), reported.end());
  }
  EXPECT_EQ(all.size(), 4u * kPalletsPerRun) << "an SSCC was given out twice";
  EXPECT_EQ(first.Serial(), kFirstSerial + 4 * kPalletsPerRun);
  EXPECT_EQ(SerialOf(*all.begin()), kFirstSerial + 1);
  EXPECT_EQ(SerialOf(*all.rbegin()), kFirstSerial + 4 * kPalletsPerRun);
}

TEST_F(SiteTest, ARunKilledMidwayLeavesNoSsccToBeGivenOutAgain) {
  const Station& first = *stations_[0];
  const Station& second = AddStation();
  const std::vector<PrintRun> runs = StartFourRuns(first, second);
  const PrintRun& victim = runs[1];
  victim.station->WaitForReported(victim.name, 50);
  kill(victim.pid, SIGKILL);
  int changes = 0;
  const std::vector<int> statuses = ChangeNameUntilDone(first, runs, changes);
  EXPECT_EQ(statuses[1], 128 + SIGKILL);

  // Every label that reached a printer, the killed run's unreported last one
  // included, and then a run after the kill.
  std::vector<std::string> printed;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const PrintRun& run = runs[i];
    if (i != 1) {
      ASSERT_EQ(statuses[i], 0) << run.name << ": " << run.station->Errors(run.name);
    }
    const std::vector<std::string> labels = run.station->Printed(run.name);
    printed.insert(printed.end(), labels.begin(), labels.end());
  }
  EXPECT_GE(victim.station->Reported(victim.name).size(), 50u);
  ASSERT_EQ(paltrix::testing::WaitForExit(second.StartPrint("after", 20)), 0)
      << second.Errors("after");
  const std::vector<std::string> after = second.Printed("after");
  printed.insert(printed.end(), after.begin(), after.end());
  EXPECT_EQ(std::set<std::string>(printed.begin(), printed.end()).size(), printed.size())
      << "an SSCC was given out twice";
  EXPECT_EQ(SerialOf(after.back()), first.Serial());
}

TEST(ServerStopTest, ARunEndsWithAClearErrorHavingReportedOnlyCommittedSsccsAndTheNextContinues) {
  paltrix::testing::TempDirectory folder;
  paltrix::testing::PrivateTestServer server(folder / "server");
  paltrix::testing::ScratchDatabase database(server.url());
  const Station station(database.url());
  station.Expect({"company", "set", "--name", "Grønt ApS", "--prefix", "5790001", "--serial",
                  std::to_string(kFirstSerial)});
  station.Expect({"product", "add", "--id", "100", "--name", "Rødkål", "--gtin", "5701234567899",
                  "--shelf-life", "10", "--count", "40"});

  const pid_t run = station.StartPrint("run", 5000);
  station.WaitForReported("run", 30);
  server.Stop();
  const int status = paltrix::testing::WaitForExit(run);
  const std::vector<std::string> reported = station.Reported("run");
  const std::string errors = station.Errors("run");
  EXPECT_NE(status, 0) << "a run cut off from its database does not end as done";
  EXPECT_NE(status, 128 + SIGSEGV);
  EXPECT_NE(status, 128 + SIGABRT);
  EXPECT_THAT(errors, ::testing::HasSubstr("the label run stopped"));
  EXPECT_THAT(errors, ::testing::HasSubstr("connection to the PostgreSQL server"));
  EXPECT_LT(reported.size(), 5000u);
  const CliResult whileDown = station.Run({"company", "show"});
  EXPECT_NE(whileDown.exitStatus, 0);
  EXPECT_FALSE(whileDown.err.empty());

  server.Restart();
  const std::int64_t committed = station.Serial();
  ASSERT_FALSE(reported.empty());
  EXPECT_GE(committed, SerialOf(reported.back())) << "a reported SSCC was not committed";
  ASSERT_EQ(paltrix::testing::WaitForExit(station.StartPrint("next", 3)), 0)
      << station.Errors("next");
  const std::vector<std::string> next = station.Reported("next");
  ASSERT_EQ(next.size(), 3u);
  EXPECT_EQ(SerialOf(next.front()), committed + 1);
  EXPECT_EQ(station.Serial(), committed + 3);
}

}  // namespace
}  // namespace paltrix::site::testing
