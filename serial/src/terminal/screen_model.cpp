#include "terminal/screen_model.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tavix::terminal {
namespace {

constexpr std::uint8_t kBel = 7;
constexpr std::uint8_t kBs = 8;
constexpr std::uint8_t kTab = 9;
constexpr std::uint8_t kLf = 10;
constexpr std::uint8_t kFf = 12;
constexpr std::uint8_t kCr = 13;
constexpr std::uint8_t kEsc = 0x1B;
constexpr int kTabWidth = 8;
constexpr std::uint8_t kMaxParameterValue = 255;
constexpr std::uint8_t kDoorwayOnParameter = 255;
// ANSI colour numbers 0..7 (black, red, green, yellow, blue, magenta, cyan, white) as PC
// colour indexes.
constexpr std::array<std::uint8_t, 8> kPcColourOfAnsi = {0, 4, 2, 6, 1, 5, 3, 7};

}  // namespace

ScreenModel::ScreenModel(std::uint8_t defaultAttribute)
    : attribute_(defaultAttribute), defaultAttribute_(defaultAttribute) {
  ClearScreen();
}

ReceiveResult ScreenModel::Receive(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    if (byte == kCan && starCount_ != 0) {
      starCount_ = 0;
      return ReceiveResult{.zmodemDownloadRequested = true};
    }
    starCount_ = byte == '*' ? starCount_ + 1 : 0;
    ProcessCharacter(byte);
  }
  return {};
}

void ScreenModel::Put(std::uint8_t character) {
  ProcessCharacter(character);
}

void ScreenModel::ProcessCharacter(std::uint8_t character) {
  if (escape_ != Escape::None) {
    ProcessSequenceByte(character);
    return;
  }
  if (character == kEsc) {
    escape_ = Escape::Started;
    paramIndex_ = 0;
    params_.fill(0);
    doorwayPending_ = false;
    return;
  }
  Capture(character);
  Show(character);
}

void ScreenModel::Show(std::uint8_t character) {
  switch (character) {
    case kBel:
      ++beeps_;
      return;
    case kBs:
      column_ = std::max(column_ - 1, 0);
      return;
    case kTab: {
      const int blanks = kTabWidth - column_ % kTabWidth;
      for (int i = 0; i < blanks; ++i) {
        Capture(' ');
        StoreCell(' ');
      }
      return;
    }
    case kLf:
      NextRow();
      return;
    case kFf:
      ClearScreen();
      return;
    case kCr:
      column_ = 0;
      return;
    case 0xFF:
      StoreCell(' ');
      return;
    default:
      StoreCell(character);
  }
}

void ScreenModel::StoreCell(std::uint8_t character) {
  cells_[row_][column_] = Cell{character, attribute_};
  MarkDirty(row_);
  if (column_ < kLastColumn) ++column_;
}

void ScreenModel::ProcessSequenceByte(std::uint8_t character) {
  if (escape_ == Escape::Started) {
    escape_ = character == '[' ? Escape::Bracket : Escape::None;
    return;
  }
  if (character >= '0' && character <= '9') {
    const int value = params_[paramIndex_] * 10 + (character - '0');
    params_[paramIndex_] = static_cast<std::uint8_t>(std::min<int>(value, kMaxParameterValue));
    return;
  }
  if (character == ';') {
    if (++paramIndex_ == kMaxParameters) escape_ = Escape::None;
    return;
  }
  if (character == '=') {
    doorwayPending_ = true;
    return;
  }
  escape_ = Escape::None;
  ExecuteSequence(character);
}

void ScreenModel::ExecuteSequence(std::uint8_t final) {
  switch (final) {
    case 'A':
      row_ = std::max(row_ - CountParameter(), 0);
      return;
    case 'B':
      MoveToRow(row_ + CountParameter());
      return;
    case 'C':
      column_ = std::min(column_ + CountParameter(), kLastColumn);
      return;
    case 'D':
      column_ = std::max(column_ - CountParameter(), 0);
      return;
    case 'H':
    case 'f':
      MoveToRow(std::max(params_[0] - 1, 0));
      column_ = std::min(std::max(params_[1] - 1, 0), kLastColumn);
      return;
    case 'J':
      ClearScreen();
      return;
    case 'K':
      std::fill(cells_[row_].begin() + column_, cells_[row_].end(), Cell{' ', attribute_});
      MarkDirty(row_);
      return;
    case 's':
      savedRow_ = row_;
      savedColumn_ = column_;
      return;
    case 'u':
      row_ = savedRow_;
      column_ = savedColumn_;
      return;
    case 'n':
      // The answer is always the home position: programs only test that a terminal replies.
      reply_ += "\x1b[1;1R";
      return;
    case 'm':
      ApplyAttributes();
      return;
    case 'h':
    case 'l':
      if (doorwayPending_) {
        doorwayMenuChange_ = final == 'h' ? 1 : 0;
        if (params_[0] >= kDoorwayOnParameter) doorway_ = final == 'h';
      }
      return;
    default:
      return;  // unknown final character: the sequence is dropped
  }
}

void ScreenModel::ApplyAttributes() {
  for (int i = 0; i <= paramIndex_ && i < kMaxParameters; ++i) {
    const int value = params_[i];
    if (value == 0) {
      attribute_ = 0x07;
    } else if (value == 1) {
      attribute_ |= 0x08;
    } else if (value == 7) {
      attribute_ = 0x70;
    } else if (value == 8) {
      attribute_ = 0x00;
    } else if (value >= 30 && value <= 37) {
      attribute_ = static_cast<std::uint8_t>((attribute_ & 0xF8) | kPcColourOfAnsi[value - 30]);
    } else if (value >= 40 && value <= 47) {
      attribute_ =
          static_cast<std::uint8_t>((attribute_ & 0x0F) | (kPcColourOfAnsi[value - 40] << 4));
    }
  }
}

void ScreenModel::NextRow() {
  MoveToRow(row_ + 1);
}

void ScreenModel::MoveToRow(int row) {
  if (row >= kScrollRow) {
    ScrollUp();
    row_ = kScrollRow - 1;
  } else {
    row_ = row;
  }
}

void ScreenModel::ScrollUp() {
  std::memmove(&cells_[0], &cells_[1], sizeof(cells_[0]) * (kRows - 1));
  cells_[kRows - 1].fill(Cell{' ', attribute_});
  ++linesScrolled_;
  dirtyFirst_ = 0;
  dirtyLast_ = kRows - 1;
}

void ScreenModel::ClearScreen() {
  attribute_ = defaultAttribute_;
  for (auto& row : cells_) row.fill(Cell{' ', attribute_});
  row_ = 0;
  column_ = 0;
  cleared_ = true;
  dirtyFirst_ = 0;
  dirtyLast_ = kRows - 1;
}

void ScreenModel::MarkDirty(int row) {
  dirtyFirst_ = std::min(dirtyFirst_, row);
  dirtyLast_ = std::max(dirtyLast_, row);
}

std::string ScreenModel::RowText(int row) const {
  std::string text;
  text.reserve(kColumns);
  for (const Cell& cell : cells_[row]) text.push_back(static_cast<char>(cell.character));
  return text;
}

std::string ScreenModel::TakeReply() {
  return std::exchange(reply_, {});
}
int ScreenModel::TakeBeeps() {
  return std::exchange(beeps_, 0);
}
int ScreenModel::TakeLinesScrolled() {
  return std::exchange(linesScrolled_, 0);
}
bool ScreenModel::TakeCleared() {
  return std::exchange(cleared_, false);
}
int ScreenModel::TakeDoorwayMenuChange() {
  return std::exchange(doorwayMenuChange_, -1);
}

std::pair<int, int> ScreenModel::TakeDirtyRows() {
  const std::pair<int, int> rows{dirtyFirst_, dirtyLast_};
  dirtyFirst_ = kRows;
  dirtyLast_ = -1;
  return rows;
}

}  // namespace tavix::terminal
