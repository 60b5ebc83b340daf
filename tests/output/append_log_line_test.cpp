#include "output/append_log_line.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::output {
namespace {

TEST(AppendLogLine, CreatesThenAppendsLinesEndingInCarriageReturnLineFeed) {
  paltrix::testing::TempDirectory folder;
  const std::string file = (folder / "errprt.log").string();

  EXPECT_EQ(AppendLogLine(file + "   ", "first  "), kLogLineWritten);
  EXPECT_EQ(AppendLogLine(file, "second"), kLogLineWritten);

  EXPECT_EQ(paltrix::testing::ReadFileText(file), "first  \r\nsecond\r\n");
}

TEST(AppendLogLine, LongTextIsCutButTheLineStillEnds) {
  paltrix::testing::TempDirectory folder;
  const std::string file = (folder / "long.log").string();

  EXPECT_EQ(AppendLogLine(file, std::string(600, 'x')), kLogLineWritten);
  EXPECT_EQ(AppendLogLine(file, "next"), kLogLineWritten);

  EXPECT_EQ(paltrix::testing::ReadFileText(file), std::string(498, 'x') + "\r\nnext\r\n");
}

TEST(AppendLogLine, ReportsWhatWentWrong) {
  paltrix::testing::TempDirectory folder;
  EXPECT_EQ(AppendLogLine((folder / "no" / "such" / "x.log").string(), "t"), kLogFileNotOpened);
  EXPECT_EQ(AppendLogLine(folder.path().string(), "t"), kLogFileNotOpened);
  EXPECT_EQ(AppendLogLine("", "t"), kLogFileNotOpened);
  EXPECT_EQ(AppendLogLine("/dev/full", "t"), kLogLineShort);
}

}  // namespace
}  // namespace paltrix::output
