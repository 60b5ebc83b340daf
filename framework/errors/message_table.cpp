#include "framework/errors/message_table.h"

#include <fmt/format.h>

namespace paltrix::errors {
namespace {

// Reads the stored form front to back, refusing to step past its end.
class TableReader {
 public:
  explicit TableReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool AtEnd() const { return at_ == bytes_.size(); }
  std::size_t position() const { return at_; }

  bool ReadByte(std::uint8_t& value) {
    if (bytes_.size() - at_ < 1) return false;
    value = bytes_[at_++];
    return true;
  }
  bool ReadUint16(std::uint16_t& value) {
    if (bytes_.size() - at_ < 2) return false;
    value = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  // A length byte followed by that many bytes of text.
  bool ReadText(std::string& text) {
    std::uint8_t length = 0;
    if (!ReadByte(length) || bytes_.size() - at_ < length) return false;
    text.assign(reinterpret_cast<const char*>(bytes_.data() + at_), length);
    at_ += length;
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

Status BrokenTable(std::string what) {
  return Status(ErrorCode::kInvalidDataFile, "Invalid message table: " + std::move(what));
}

}  // namespace

Result<std::vector<std::uint8_t>> EncodeMessageTable(std::span<const MessageDefinition> messages) {
  if (messages.size() > 0xFFFF) {
    return BrokenTable(fmt::format("{} messages, at most 65535 fit", messages.size()));
  }
  for (const MessageDefinition& message : messages) {
    if (message.title.size() > StoredTableLayout::kMaxTextLength ||
        message.text.size() > StoredTableLayout::kMaxTextLength) {
      return BrokenTable(
          fmt::format("message {} has a title or text longer than 255 bytes", message.id));
    }
  }
  std::vector<std::uint8_t> table(StoredTableSize(messages));
  WriteStoredTable(messages, table);
  return table;
}

Result<std::vector<MessageEntry>> DecodeMessageTable(std::span<const std::uint8_t> table) {
  TableReader reader(table);
  std::uint16_t count = 0;
  if (!reader.ReadUint16(count)) {
    return BrokenTable(fmt::format("{} bytes, too short for the entry count", table.size()));
  }
  std::vector<MessageEntry> entries;
  entries.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    MessageEntry entry;
    const std::size_t start = reader.position();
    if (!reader.ReadUint16(entry.id) || !reader.ReadByte(entry.level) ||
        !reader.ReadText(entry.title) || !reader.ReadText(entry.text)) {
      return BrokenTable(fmt::format("entry {} of {} at byte {} runs past the end ({} bytes)",
                                     index + 1, count, start, table.size()));
    }
    entries.push_back(std::move(entry));
  }
  if (!reader.AtEnd()) {
    return BrokenTable(fmt::format("{} bytes after the last of {} entries",
                                   table.size() - reader.position(), count));
  }
  return entries;
}

}  // namespace paltrix::errors
