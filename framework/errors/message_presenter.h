#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace paltrix::errors {

// Button bits of a message box. A buttons mask combines them; a default
// button and the result of a box are single bits.
inline constexpr int kButtonOk = 1;
inline constexpr int kButtonYes = 2;
inline constexpr int kButtonNo = 4;
inline constexpr int kButtonAbort = 8;
inline constexpr int kButtonRetry = 16;
inline constexpr int kButtonIgnore = 32;
inline constexpr int kButtonCancel = 64;
inline constexpr int kButtonHelp = 128;

enum class MessageIcon : std::uint8_t { kNone, kInformation, kExclamation, kQuestion, kHand };

struct MessageBoxRequest {
  std::string text;  // may hold line breaks ('\n')
  std::string title;
  MessageIcon icon = MessageIcon::kNone;
  int buttons = kButtonOk;
  int defaultButton = kButtonOk;
  int style = 0;  // the error manager's message style, passed through unchanged
};

// One recorded message of the error manager's history.
struct HistoryEntry {
  std::string category;
  std::string text;  // at most 1023 characters
  std::uint16_t id = 0;

  friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// Shows the error manager's boxes to the user. Texts are UTF-8.
// The Qt implementation lives in framework/ui; tests script the answers.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;

  // Shows a modal message box; returns the bit of the button pressed, or
  // request.defaultButton when the box was closed without a choice.
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;

  // Shows the history window: a list of entries with the columns "Message"
  // and "Category" and one button per bit set in `buttons`. Returns the bit
  // of the button pressed, or defaultButton when closed without a choice.
  virtual int ShowHistory(std::string_view title, std::span<const HistoryEntry> entries,
                          int buttons, int defaultButton) = 0;
};

}  // namespace paltrix::errors
