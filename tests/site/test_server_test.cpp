#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/postgres_test_server.h"

namespace paltrix::testing {
namespace {

// Tests rely on their databases being their own and gone afterwards.
TEST(TestServer, ScratchDatabasesAreSeparateAndDroppedAfterwards) {
  std::string droppedUrl;
  {
    ScratchDatabase first;
    ScratchDatabase second;
    droppedUrl = first.url();
    EXPECT_NE(first.name(), second.name());
    ExecuteSql(first.url(), "CREATE TABLE only_here (n integer)");
    EXPECT_THROW(ExecuteSql(second.url(), "SELECT * FROM only_here"), std::runtime_error);
  }
  EXPECT_THROW(ExecuteSql(droppedUrl, "SELECT 1"), std::runtime_error);
}

}  // namespace
}  // namespace paltrix::testing
