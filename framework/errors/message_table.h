#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/result.h"

// The stored form of a message table, as AddErrors takes it:
//
//   offset  size  field
//   0       2     entry count, little-endian
//   then per entry:
//   +0      2     message number, little-endian
//   +2      1     level
//   +3      1     title length T
//   +4      T     title
//   +4+T    1     text length X
//   +5+T    X     text
namespace paltrix::errors {

struct StoredTableLayout {
  static constexpr std::size_t kCountSize = 2;
  static constexpr std::size_t kIdOffset = 0;
  static constexpr std::size_t kIdSize = 2;
  static constexpr std::size_t kLevelOffset = kIdOffset + kIdSize;
  static constexpr std::size_t kLevelSize = 1;
  static constexpr std::size_t kTitleLengthOffset = kLevelOffset + kLevelSize;
  static constexpr std::size_t kLengthSize = 1;
  static constexpr std::size_t kTitleOffset = kTitleLengthOffset + kLengthSize;
  static constexpr std::size_t kMaxTextLength = 255;  // what a length byte can say
};
static_assert(StoredTableLayout::kLevelOffset == 2);
static_assert(StoredTableLayout::kTitleOffset == 4);

// One message as written in a table: views into constant text.
struct MessageDefinition {
  std::uint16_t id = 0;
  std::uint8_t level = 0;
  std::string_view title;
  std::string_view text;
};

// One message of the error manager's list.
struct MessageEntry {
  std::uint16_t id = 0;
  std::uint8_t level = 0;
  std::string title;
  std::string text;
  std::string category;  // empty: the manager's default category

  friend bool operator==(const MessageEntry&, const MessageEntry&) = default;
};

constexpr std::size_t StoredEntrySize(const MessageDefinition& message) {
  return StoredTableLayout::kTitleOffset + message.title.size() + StoredTableLayout::kLengthSize +
         message.text.size();
}

constexpr std::size_t StoredTableSize(std::span<const MessageDefinition> messages) {
  std::size_t size = StoredTableLayout::kCountSize;
  for (const MessageDefinition& message : messages) size += StoredEntrySize(message);
  return size;
}

// True when every title and text fits its length byte and the count fits 16 bits.
constexpr bool FitsStoredForm(std::span<const MessageDefinition> messages) {
  if (messages.size() > 0xFFFF) return false;
  for (const MessageDefinition& message : messages) {
    if (message.title.size() > StoredTableLayout::kMaxTextLength ||
        message.text.size() > StoredTableLayout::kMaxTextLength) {
      return false;
    }
  }
  return true;
}

// Writes the stored form of `messages` to `out`.
// REQUIRES: FitsStoredForm(messages); out.size() == StoredTableSize(messages).
constexpr void WriteStoredTable(std::span<const MessageDefinition> messages,
                                std::span<std::uint8_t> out) {
  std::size_t at = 0;
  auto put = [&](std::uint8_t byte) { out[at++] = byte; };
  auto putText = [&](std::string_view text) {
    put(static_cast<std::uint8_t>(text.size()));
    for (char c : text) put(static_cast<std::uint8_t>(c));
  };
  put(static_cast<std::uint8_t>(messages.size() & 0xFF));
  put(static_cast<std::uint8_t>(messages.size() >> 8));
  for (const MessageDefinition& message : messages) {
    put(static_cast<std::uint8_t>(message.id & 0xFF));
    put(static_cast<std::uint8_t>(message.id >> 8));
    put(message.level);
    putText(message.title);
    putText(message.text);
  }
}

// The stored form of a constant list of messages, built at compile time:
//   inline constexpr auto kTable = StoredTable<kMessages>();
template <const auto& kMessages>
constexpr auto StoredTable() {
  static_assert(FitsStoredForm(kMessages), "a title or text is longer than a length byte allows");
  std::array<std::uint8_t, StoredTableSize(kMessages)> table{};
  WriteStoredTable(kMessages, table);
  return table;
}

// The stored form of `messages`; fails when a title or text is longer than
// 255 bytes or there are more than 65535 messages.
Result<std::vector<std::uint8_t>> EncodeMessageTable(std::span<const MessageDefinition> messages);

// The messages of a stored table, with empty categories. Fails, naming the
// entry, when the table ends inside an entry or holds bytes after its last
// entry; never reads past the end of `table`.
Result<std::vector<MessageEntry>> DecodeMessageTable(std::span<const std::uint8_t> table);

}  // namespace paltrix::errors
