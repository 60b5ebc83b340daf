#pragma once

// The terminal's screen without any window: a buffer of 100 rows × 88 columns of cells, the
// cursor, the ANSI escape-sequence parser, the "*"/CAN rule that asks for an automatic Zmodem
// download, DoorWay mode and capture of every shown character. The window only draws it.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tavix::terminal {

inline constexpr int kRows = 100;
inline constexpr int kColumns = 88;
inline constexpr int kLastColumn = kColumns - 1;
// The row the cursor moves back to when the screen moves up: row 99 is never written.
inline constexpr int kScrollRow = kRows - 1;
inline constexpr std::uint8_t kCan = 0x18;

// A cell: a character byte and a PC text attribute (low nibble foreground, high background).
struct Cell {
  std::uint8_t character;
  std::uint8_t attribute;
  friend bool operator==(const Cell&, const Cell&) = default;
};

// Receives every character the screen shows (and the blanks a TAB produces).
class CaptureSink {
 public:
  virtual void Store(std::uint8_t byte) = 0;

 protected:
  ~CaptureSink() = default;
};

// What a block of received bytes asked of the terminal besides drawing.
struct ReceiveResult {
  bool zmodemDownloadRequested = false;  // a CAN after "*": the rest of the block was dropped
};

class ScreenModel {
 public:
  explicit ScreenModel(std::uint8_t defaultAttribute);

  // Processes received bytes in order. A CAN while at least one "*" came directly before it
  // ends processing and asks for the automatic Zmodem download.
  ReceiveResult Receive(std::span<const std::uint8_t> bytes);
  // Processes one character as shown text (echo of typed characters; no "*" counting).
  void Put(std::uint8_t character);

  // Attribute back to the default, all cells blank, cursor home.
  void ClearScreen();

  const Cell& At(int row, int column) const { return cells_[row][column]; }
  std::string RowText(int row) const;
  int Row() const { return row_; }
  int Column() const { return column_; }
  std::uint8_t Attribute() const { return attribute_; }
  std::uint8_t DefaultAttribute() const { return defaultAttribute_; }

  bool Doorway() const { return doorway_; }
  void SetDoorway(bool on) { doorway_ = on; }

  void SetCapture(CaptureSink* sink) { capture_ = sink; }

  // Effects for the window since the last call of each Take function.
  std::string TakeReply();  // bytes to send back to the peer (the cursor report)
  int TakeBeeps();          // BEL characters shown
  int TakeLinesScrolled();  // times the whole screen moved up one row
  bool TakeCleared();       // the screen was cleared
  // Set when a sequence ESC [ = … h (true) or ESC [ = … l (false) was seen; the DoorWay menu
  // item follows it, whatever the parameter.
  int TakeDoorwayMenuChange();  // 1 check, 0 uncheck, -1 no change
  // Rows changed since the last call, as [first, last]; first > last when none.
  std::pair<int, int> TakeDirtyRows();

 private:
  void ProcessCharacter(std::uint8_t character);
  void ProcessSequenceByte(std::uint8_t character);
  void ExecuteSequence(std::uint8_t final);
  void ApplyAttributes();
  void Show(std::uint8_t character);
  void StoreCell(std::uint8_t character);
  void NextRow();
  void MoveToRow(int row);
  void ScrollUp();
  void MarkDirty(int row);
  void Capture(std::uint8_t byte) {
    if (capture_ != nullptr) capture_->Store(byte);
  }
  int CountParameter() const { return params_[0] == 0 ? 1 : params_[0]; }

  static constexpr int kMaxParameters = 10;
  enum class Escape : std::uint8_t { None, Started, Bracket };

  std::array<std::array<Cell, kColumns>, kRows> cells_{};
  std::uint8_t attribute_;
  std::uint8_t defaultAttribute_;
  int row_ = 0;
  int column_ = 0;
  int savedRow_ = 0;
  int savedColumn_ = 0;
  Escape escape_ = Escape::None;
  int paramIndex_ = 0;
  std::array<std::uint8_t, kMaxParameters> params_{};
  bool doorwayPending_ = false;
  bool doorway_ = false;
  int starCount_ = 0;
  CaptureSink* capture_ = nullptr;

  std::string reply_;
  int beeps_ = 0;
  int linesScrolled_ = 0;
  bool cleared_ = false;
  int doorwayMenuChange_ = -1;
  int dirtyFirst_ = 0;
  int dirtyLast_ = kRows - 1;
};

}  // namespace tavix::terminal
