// Linked into the command-line tests to run them on a database: each test
// gets a scratch database of its own on the test server, which every
// paltrix-cli it starts uses through PALTRIX_DATABASE.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "tests/support/postgres_test_server.h"

namespace paltrix::cli::testing {
namespace {

std::unique_ptr<paltrix::testing::ScratchDatabase>& Database() {
  static std::unique_ptr<paltrix::testing::ScratchDatabase> database;
  return database;
}

void UseFreshDatabase() {
  Database().reset();
  Database() = std::make_unique<paltrix::testing::ScratchDatabase>();
  setenv("PALTRIX_DATABASE", Database()->url().c_str(), 1);
}

class ScratchDatabasePerTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { UseFreshDatabase(); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    unsetenv("PALTRIX_DATABASE");
    Database().reset();
  }
};

const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ScratchDatabasePerTest);
  return true;
}();

}  // namespace

void EmptyRecordFiles(const std::filesystem::path&) {
  UseFreshDatabase();
}

}  // namespace paltrix::cli::testing
