#include "framework/errors/message_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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
  EXPECT_TRUE(std::none_of(decoded->begin(), decoded->end(),
                           [](const MessageEntry& entry) { return entry.id == 32; }));

  struct Row {
    int id;
    int level;
    std::string title;
    std::string text;
  };
  // Every built-in message, typed from the message list independently of
  // built_in_messages.cpp. Double blanks and trailing blanks are part of the
  // texts; "\n" is a line break.
  const Row rows[] = {
      {1, 5, "Record Retrieval Error",
       "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to "
       "previous window."},
      {2, 5, "Access Denied", "Could not get write access to %File so trying read-only."},
      {3, 1, "Record Added",
       "This record has been added to the file. Do you want to add another record?"},
      {4, 5, "Record Insert Error",
       "An error was experienced during the creation of a record.\nFile: %File\nError: "
       "%ErrorText."},
      {5, 5, "Add New Record?", "Record match not found, do you wish to add a new one?"},
      {6, 5, "File Access Error", "File %File could not be closed.  Error: %ErrorText."},
      {7, 5, "Record Was Not Updated", "This record was changed by another station."},
      {8, 5, "Record Was Not Updated",
       "This record was changed by another station. Those changes will now be displayed. Use the "
       "Ditto Button or Ctrl+H to recall your changes."},
      {9, 5, "Record Retrieval Error",
       "This record was changed or deleted by another station.\nError: (%ErrorText) attempting to "
       "access a record from the %File file."},
      {10, 1, "Changes will be lost!", "Are you sure you want to cancel?"},
      {11, 1, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
      {12, 3, "File Creation Error", "Error: (%ErrorText) creating %File."},
      {13, 5, "Record was not deleted",
       "An error (%ErrorText) was experienced when deleting a record from the %File file."},
      {14, 5, "Invalid Request", "This form cannot be used to delete a record"},
      {15, 5, "Duplicate Key Error",
       "Adding this record creates a duplicate entry for the key: %Message"},
      {16, 5, "Field contents error", "The value of %Field must be found in the %Message file."},
      {17, 5, "Value Error", "The value of %Field must be in the list : %Message."},
      {18, 5, "Range Error", "The value of %Field must be in range %Message."},
      {19, 5, "Range Error", "The value of %Field must be lower than %Message."},
      {20, 5, "Range Error", "The value of %Field must be higher than %Message."},
      {21, 5, "File Load Error", "%File File Load Error.  Error: %ErrorText."},
      {22, 3, "WMF Parser Error", "Get next record from file %File failed."},
      {23, 5, "Invalid Request", "This form cannot be used to insert a record"},
      {24, 5, "Transaction cancelled",
       "Error: (%ErrorText) attempting to frame the transaction on %File."},
      {25, 5, "No Records", "There are no records available to process."},
      {26, 3, "File Access Error", "File %File could not be opened.  Error: %ErrorText."},
      {27, 5, "Procedure not defined", "The Procedure %Message has not been defined."},
      {28, 5, "Record was not updated",
       "An error (%ErrorText) was experienced when making changes to the %File file."},
      {29, 3, "Key was not built", "Error: (%ErrorText) repairing key for %File."},
      {30, 5, "Invalid Key", "%File key file is invalid. Key must be rebuilt."},
      {31, 5, "Record not read",
       "A record held by another station was encountered reading from the %File file."},
      {33, 5, "Referential Integrity Delete Error",
       "This record is referenced from the file %File. This record cannot be deleted while these "
       "references exist."},
      {34, 5, "Referential Integrity Update Error",
       "This record is referenced from the file %File. Linking field(s) have been restricted from "
       "change and have been reset to original values."},
      {35, 1, "Auto Increment Error",
       "Attempts to automatically number this record have failed.\nFile: %File\nKey: %Key\nError: "
       "%ErrorText.\nTry Again?"},
      {36, 1, "Record Delete Error",
       "An error was experienced deleting this record. Do you want to try to delete it again?"},
      {37, 1, "Record Update Error",
       "An error was experienced changing this record. Do you want to try to save again?"},
      {38, 1, "Save Record", "Do you want to save the changes to this record?"},
      {39, 1, "Beginning of File Error",
       "The beginning of the file %File was encountered. Do you want to start again from the end "
       "of the file?"},
      {40, 1, "End of File Error",
       "The end of the file %File was encountered. Do you want to start again from the beginning?"},
      {41, 5, "Invalid Request", "This form cannot be used to update a record"},
      {42, 2, "File Usage Error", "Attempt to use file (%File) before it was opened"},
      {43, 5, "View Open Error",
       "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored."},
      {44, 5, "Unsupported QBE Column",
       "The saved QBE column, %Field is not supported. It will be dropped from the query."},
      {45, 5, "SMTP Error", "The following SMTP Error occurred: %Message "},
      {46, 5, "NNTP Error", "%Message "},
      {47, 5, "Winsock Error", "%Message "},
      {48, 3, "WMF Parser Error", "Adding record to queue failed. Parsing %File."},
      {49, 3, "WMF Parser Error", "The File %File is not a valid WMF file."},
      {50, 3, "WMF Parser Error", "Invalid %Field control found. Parsing %File."},
      {51, 3, "WMF Parser Error", "Cannot find %Field id. Parsing %File."},
      {52, 5, "Report Writer Error",
       "Poorly Formed Comment String \"%Message\" at Position %Field."},
      {53, 5, "Report Writer Error", "Unknown Property %Message."},
  };
  ASSERT_EQ(std::size(rows), decoded->size());
  for (const Row& row : rows) {
    const auto entry =
        std::find_if(decoded->begin(), decoded->end(),
                     [&](const MessageEntry& candidate) { return candidate.id == row.id; });
    ASSERT_NE(entry, decoded->end()) << row.id;
    EXPECT_EQ(entry->level, row.level) << row.id;
    EXPECT_EQ(entry->title, row.title) << row.id;
    EXPECT_EQ(entry->text, row.text) << row.id;
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
