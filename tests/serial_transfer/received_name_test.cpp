#include "received_name.h"

#include <gtest/gtest.h>

namespace tavix {
namespace {

struct NameCase {
  const char* sent;
  const char* directory;  // nullptr: refused
  const char* name;
  const char* note;
};

// Names a sender may put in a Ymodem header or a Zmodem ZFILE, and what is left of them.
const NameCase kCases[] = {
    {"report.txt", "", "report.txt", "a plain name stays"},
    {"../x", "", "x", "parent steps are dropped"},
    {"/etc/x", "etc", "x", "an absolute path becomes relative"},
    {"C:\\x", "", "x", "a drive letter is dropped"},
    {"c:/dos/x.txt", "dos", "x.txt", "drive with forward slashes"},
    {"a/../../b", "a", "b", "parent steps in the middle cannot climb out"},
    {"dir\\sub\\f.txt", "dir/sub", "f.txt", "backslashes separate folders"},
    {"./a//b", "a", "b", "dot and empty components vanish"},
    {"..", nullptr, nullptr, "nothing but a parent step"},
    {"C:\\", nullptr, nullptr, "nothing but a drive"},
    {"/", nullptr, nullptr, "nothing but the root"},
    {"", nullptr, nullptr, "empty"},
    {"bad\x01name", nullptr, nullptr, "control characters are refused"},
    {"esc\x1b[2Jname", nullptr, nullptr, "terminal escapes are refused"},
};

TEST(ReceivedName, StaysInsideTheDownloadFolder) {
  for (const NameCase& c : kCases) {
    SCOPED_TRACE(c.note);
    const auto confined = ConfineReceivedName(c.sent);
    if (!c.name) {
      EXPECT_FALSE(confined.has_value());
      continue;
    }
    ASSERT_TRUE(confined.has_value());
    EXPECT_EQ(confined->directory, c.directory);
    EXPECT_EQ(confined->name, c.name);
  }
}

}  // namespace
}  // namespace tavix
