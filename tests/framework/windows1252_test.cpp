#include "framework/text/windows1252.h"

#include <gtest/gtest.h>

namespace paltrix::text {
namespace {

TEST(Windows1252, DanishLettersFoldToTheirCapitals) {
  // "Rødkål" and "RØDKÅL" in Windows-1252 bytes.
  EXPECT_EQ(CompareNoCase("R\xF8"
                          "dk\xE5l",
                          "R\xD8"
                          "DK\xC5L"),
            0);
  EXPECT_EQ(FoldCase("\xE6\xF8\xE5"), "\xC6\xD8\xC5");
  // The division and multiplication signs are not letters.
  EXPECT_EQ(FoldCase('\xF7'), '\xF7');
  EXPECT_EQ(FoldCase('\xD7'), '\xD7');
}

TEST(Windows1252, ComparesByFoldedBytesThenLength) {
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_GT(CompareNoCase("abd", "ABC"), 0);
  EXPECT_LT(CompareNoCase("AB", "abc"), 0);
  EXPECT_LT(CompareNoCase("Z", "\xE6"), 0);  // letters beyond Z sort after it
}

TEST(Windows1252, RoundTripsThroughUtf8) {
  const std::string all = [] {
    std::string bytes;
    for (int c = 1; c < 256; ++c) {
      if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) {
        bytes.push_back(static_cast<char>(c));
      }
    }
    return bytes;
  }();
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
  EXPECT_EQ(ToUtf8("R\xF8"
                   "dk\xE5l"),
            "Rødkål");
  EXPECT_EQ(ToUtf8("\x80"), "€");
}

TEST(Windows1252, RefusesWhatItCannotRepresent) {
  EXPECT_EQ(FromUtf8("日本"), std::nullopt);
  EXPECT_EQ(FromUtf8("\xC3"), std::nullopt);      // cut-off sequence
  EXPECT_EQ(FromUtf8("\xC3\x28"), std::nullopt);  // bad continuation byte
  EXPECT_EQ(FromUtf8("\xFF"), std::nullopt);
  EXPECT_EQ(FromUtf8("\xC0\xAF"), std::nullopt);          // "/" written in two bytes
  EXPECT_EQ(FromUtf8("\xC0\x80"), std::nullopt);          // NUL written in two bytes
  EXPECT_EQ(FromUtf8("\xE0\x83\xB8"), std::nullopt);      // "ø" written in three bytes
  EXPECT_EQ(FromUtf8("\xF0\x82\x82\xAC"), std::nullopt);  // "€" written in four bytes
}

TEST(Windows1252, TrimRightRemovesOnlyTrailingBlanks) {
  EXPECT_EQ(TrimRight("  a b  "), "  a b");
  EXPECT_EQ(TrimRight("   "), "");
  EXPECT_EQ(TrimRight(""), "");
}

}  // namespace
}  // namespace paltrix::text
