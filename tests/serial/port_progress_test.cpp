// What a port's progress callback hears: counts held back by the refresh limit still arrive,
// so a finished file ends at its full size rather than at the last count that was let through.
#include "port_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "port_fixture.h"

namespace tavix::testing {
namespace {

class PortProgressTest : public PortTest {
 protected:
  void SetUp() override {
    PortTest::SetUp();
    ASSERT_EQ(SetTransferProgressCallback(kPort, &Record, &reports_), 0);
  }

  static void Record(int32_t, const TavixTransferProgress* progress, void* context) {
    static_cast<std::vector<std::int64_t>*>(context)->push_back(progress->bytes);
  }

  std::vector<std::int64_t> reports_;
};

TEST_F(PortProgressTest, TheLastCountOfAFileIsReportedBeforeTheNextFileAndAtTheEnd) {
  {
    PortProgress progress(kPort, nullptr, "", true, true);
    progress.ShowFile("a.bin", 1000);
    progress.ShowBytes(950);
    progress.ShowBytes(1000);  // within the refresh limit of the one before
    ASSERT_FALSE(reports_.empty());
    EXPECT_EQ(reports_.back(), 950);
    progress.ShowFile("b.bin", 2000);
    EXPECT_NE(std::find(reports_.begin(), reports_.end(), 1000), reports_.end());
    progress.ShowBytes(1900);
    progress.ShowBytes(2000);
  }
  EXPECT_EQ(reports_.back(), 2000);
}

}  // namespace
}  // namespace tavix::testing
