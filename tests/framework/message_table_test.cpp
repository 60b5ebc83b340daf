#include "framework/errors/message_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/errors/built_in_messages.h"

namespace paltrix::errors {
namespace {

TEST(BuiltInMessageTable, DecodesToTheReadableList) {
  Result<std::vector<MessageEntry>> decoded = DecodeMessageTable(BuiltInMessageTable());
  ASSERT_TRUE(decoded.ok()) << decoded.status().message();
  const std::span<const MessageDefinition> expected = BuiltInMessages();
  ASSERT_EQ(decoded->size(), 52u);
  ASSERT_EQ(expected.size(), 52u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const MessageEntry& entry = (*decoded)[i];
    EXPECT_EQ(entry.id, expected[i].id);
    EXPECT_EQ(entry.level, expected[i].level);
    EXPECT_EQ(entry.title, expected[i].title);
    EXPECT_EQ(entry.text, expected[i].text);
    EXPECT_TRUE(entry.category.empty());
  }
}

TEST(BuiltInMessageTable, HoldsTheTextsAsShown) {
  Result<std::vector<MessageEntry>> decoded = DecodeMessageTable(BuiltInMessageTable());
  ASSERT_TRUE(decoded.ok());
  auto find = [&](int id) {
    return *std::find_if(decoded->begin(), decoded->end(),
                         [id](const MessageEntry& entry) { return entry.id == id; });
  };
  EXPECT_TRUE(std::none_of(decoded->begin(), decoded->end(),
                           [](const MessageEntry& entry) { return entry.id == 32; }));

  struct Row {
    int id;
    int level;
    std::string title;
    std::string text;
  };
  const Row rows[] = {
      {4, 5, "Record Insert Error",
       "An error was experienced during the creation of a record.\nFile: %File\nError: "
       "%ErrorText."},
      {26, 3, "File Access Error", "File %File could not be opened.  Error: %ErrorText."},
      {35, 1, "Auto Increment Error",
       "Attempts to automatically number this record have failed.\nFile: %File\nKey: %Key\nError: "
       "%ErrorText.\nTry Again?"},
      {42, 2, "File Usage Error", "Attempt to use file (%File) before it was opened"},
      {47, 5, "Winsock Error", "%Message "},  // the trailing blank is part of the text
      {52, 5, "Report Writer Error",
       "Poorly Formed Comment String \"%Message\" at Position %Field."},
      {53, 5, "Report Writer Error", "Unknown Property %Message."},
  };
  for (const Row& row : rows) {
    const MessageEntry entry = find(row.id);
    EXPECT_EQ(entry.level, row.level) << row.id;
    EXPECT_EQ(entry.title, row.title) << row.id;
    EXPECT_EQ(entry.text, row.text) << row.id;
  }
}

TEST(MessageTable, EncodeDecodeRoundTripsTheLongestTexts) {
  const std::string longest(255, 'x');
  const MessageDefinition messages[] = {
      {0xFFFF, 255, longest, ""},
      {1, 0, "", longest},
      {0x1234, 5, "Titel med æøå", "Tekst"},
  };
  Result<std::vector<std::uint8_t>> stored = EncodeMessageTable(messages);
  ASSERT_TRUE(stored.ok());
  EXPECT_EQ(stored->size(), StoredTableSize(messages));
  EXPECT_EQ((*stored)[0], 3);  // count, little-endian
  EXPECT_EQ((*stored)[1], 0);
  EXPECT_EQ((*stored)[2], 0xFF);
  EXPECT_EQ((*stored)[3], 0xFF);
  EXPECT_EQ((*stored)[4], 255);  // level
  EXPECT_EQ((*stored)[5], 255);  // title length

  Result<std::vector<MessageEntry>> decoded = DecodeMessageTable(*stored);
  ASSERT_TRUE(decoded.ok());
  ASSERT_EQ(decoded->size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ((*decoded)[i].id, messages[i].id);
    EXPECT_EQ((*decoded)[i].level, messages[i].level);
    EXPECT_EQ((*decoded)[i].title, messages[i].title);
    EXPECT_EQ((*decoded)[i].text, messages[i].text);
  }
}

TEST(MessageTable, EncodeRefusesTextsLongerThanALengthByte) {
  const std::string tooLong(256, 'x');
  const MessageDefinition longTitle[] = {{1, 5, tooLong, "text"}};
  const MessageDefinition longText[] = {{1, 5, "title", tooLong}};
  EXPECT_FALSE(EncodeMessageTable(longTitle).ok());
  EXPECT_FALSE(EncodeMessageTable(longText).ok());
}

TEST(MessageTable, DecodeRefusesEveryTruncation) {
  const std::span<const std::uint8_t> table = BuiltInMessageTable();
  for (std::size_t length = 0; length < table.size(); ++length) {
    // Each copy has exactly `length` bytes, so the sanitizer sees any read past it.
    const std::vector<std::uint8_t> truncated(table.begin(), table.begin() + length);
    EXPECT_FALSE(DecodeMessageTable(truncated).ok()) << "length " << length;
  }
}

TEST(MessageTable, DecodeRefusesInconsistentTables) {
  std::vector<std::uint8_t> trailing(BuiltInMessageTable().begin(), BuiltInMessageTable().end());
  trailing.push_back(0);
  EXPECT_FALSE(DecodeMessageTable(trailing).ok());

  const std::vector<std::uint8_t> countTooHigh = {2, 0, 1, 0, 5, 1, 'T', 1, 'x'};
  EXPECT_FALSE(DecodeMessageTable(countTooHigh).ok());

  const std::vector<std::uint8_t> lengthPastEnd = {1, 0, 1, 0, 5, 9, 'T'};
  Result<std::vector<MessageEntry>> refused = DecodeMessageTable(lengthPastEnd);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.status().message().find("entry 1"), std::string::npos)
      << refused.status().message();

  const std::vector<std::uint8_t> empty = {0, 0};
  Result<std::vector<MessageEntry>> none = DecodeMessageTable(empty);
  ASSERT_TRUE(none.ok());
  EXPECT_TRUE(none->empty());
}

}  // namespace
}  // namespace paltrix::errors
