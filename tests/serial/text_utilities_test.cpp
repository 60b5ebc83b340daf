// StrWord, StrHex and MakeDir.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tavix32.h"
#include "tests/support/temp_directory.h"

namespace {

TEST(StrWordTest, FindsTheFirstPositionIgnoringLetterCase) {
  EXPECT_EQ(StrWord("Hello World", "WORLD"), 7);
  EXPECT_EQ(StrWord("CONNECT 9600", "connect"), 1);
  EXPECT_EQ(StrWord("abab", "ab"), 1);
  EXPECT_EQ(StrWord("xxab", "ab"), 3);  // the match ending at the last character
  EXPECT_EQ(StrWord("abc", "abcd"), 0);
  EXPECT_EQ(StrWord("", "a"), 0);
  EXPECT_EQ(StrWord("abc", ""), 0);
  EXPECT_EQ(StrWord("\xC6"
                    "BLE",
                    "\xE6"
                    "ble"),
            0);  // only A to Z fold
}

TEST(StrHexTest, ReadsUpToFourDigits) {
  EXPECT_EQ(StrHex("1aF"), 0x1AF);
  EXPECT_EQ(StrHex("12345"), 0x1234);
  EXPECT_EQ(StrHex("ffff"), 0xFFFF);
  EXPECT_EQ(StrHex("12G4"), 0);
  EXPECT_EQ(StrHex("1234G"), 0x1234);  // the fifth character is not read
  EXPECT_EQ(StrHex(""), 0);
}

TEST(MakeDirTest, CreatesEveryMissingFolder) {
  paltrix::testing::TempDirectory root;
  const std::string nested = (root.path() / "a" / "b" / "c").string();
  EXPECT_EQ(MakeDir(nested.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(nested));
  EXPECT_EQ(MakeDir(nested.c_str()), 0);  // exists already

  const std::string backslashed = root.path().string() + "\\d\\e";
  EXPECT_EQ(MakeDir(backslashed.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(root.path() / "d" / "e"));

  std::ofstream(root.path() / "file") << "x";
  EXPECT_EQ(MakeDir((root.path() / "file").string().c_str()), 1);
  EXPECT_EQ(MakeDir((root.path() / "file" / "below").string().c_str()), 1);
  EXPECT_EQ(MakeDir(""), 1);
  EXPECT_EQ(MakeDir(" leading-blank"), 1);
}

}  // namespace
