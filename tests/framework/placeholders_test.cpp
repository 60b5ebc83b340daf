#include "framework/errors/placeholders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paltrix::errors {
namespace {

Placeholder Fixed(std::string_view name, std::string value) {
  return {name, [value = std::move(value)] { return value; }};
}

TEST(ReplacePlaceholders, ReplacesInOrderWithoutSearchingInsertedText) {
  struct Row {
    const char* note;
    std::string text;
    std::string expected;
  };
  const std::vector<Placeholder> placeholders = {
      Fixed("%FileError", "disk full"), Fixed("%File", "PRODUKT"),
      Fixed("%Key", "%Field"),  // operator text that looks like a placeholder
      Fixed("%Message", "%Message"),    Fixed("%Field", "PRO:EANNR"),
  };
  const Row rows[] = {
      {"longer name first, each gets its own value", "%File: %FileError", "PRODUKT: disk full"},
      {"every occurrence, any case", "%file %FILE %File", "PRODUKT PRODUKT PRODUKT"},
      {"inserted text is not searched again", "%Key / %Field", "%Field / PRO:EANNR"},
      {"a value equal to its placeholder is left alone", "<%Message>", "<%Message>"},
      {"no match across an inserted value", "%Fi%Messageeld", "%Fi%Messageeld"},
      {"unknown and partial names stay", "%Nothing %Fil", "%Nothing %Fil"},
      {"plain text", "nothing to do", "nothing to do"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReplacePlaceholders(row.text, placeholders), row.expected) << row.note;
  }
}

TEST(ReplacePlaceholders, AsksForAValueOnlyWhenItsNameOccurs) {
  int asked = 0;
  const Placeholder placeholders[] = {
      {"%Previous",
       [&] {
         ++asked;
         return std::string("before");
       }},
  };
  EXPECT_EQ(ReplacePlaceholders("no previous here", placeholders), "no previous here");
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(ReplacePlaceholders("%Previous and %previous", placeholders), "before and before");
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace paltrix::errors
