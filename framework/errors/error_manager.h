#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "framework/clock.h"
#include "framework/errors/error_log.h"
#include "framework/errors/message_numbers.h"
#include "framework/errors/message_presenter.h"
#include "framework/errors/message_table.h"
#include "framework/errors/program_terminator.h"
#include "framework/errors/runtime_error.h"
#include "framework/status.h"

// The error manager: every failure or question of the program is reported by
// message number. The manager looks the number up in its message list, fills
// in the context of the failure (file, key, field, the run-time error of the
// calling thread) and, by the message's level, does nothing, asks Yes/No,
// informs, or ends the program.
//
// Thread rules: the context (SetFile, SetField, SetKey, ThrowMessage's text)
// and the current message are kept per thread, so threads reporting at the
// same time do not mix them. The message list, the history, the procedure
// names and the log are shared and guarded by one mutex. The presenter is
// called without holding it.
//
// Texts are UTF-8. Record text (Windows-1252) is converted with
// text::ToUtf8 before it is passed in.
namespace paltrix::errors {

// Message levels, and the results of Throw.
inline constexpr int kLevelBenign = 0;   // nothing shown; Throw returns 0
inline constexpr int kLevelUser = 1;     // Yes/No; Throw returns 0 (Yes) or kLevelCancel (No)
inline constexpr int kLevelProgram = 2;  // handled as kLevelFatal
inline constexpr int kLevelFatal = 3;    // shown, then the program ends
inline constexpr int kLevelCancel = 4;   // handled as kLevelUser
inline constexpr int kLevelNotify = 5;   // shown with OK; Throw returns kLevelNotify

inline constexpr std::string_view kHistoryWindowTitle = "Errors History";
inline constexpr std::string_view kFatalSuffix = "  Press OK to end this application";

class ErrorManager {
 public:
  // Longest context texts (file, field and key names, message text, run-time
  // error texts); longer ones are cut.
  static constexpr std::size_t kMaxContextLength = 254;
  static constexpr std::size_t kMaxHistoryTextLength = 1023;

  // A manager without messages until Init. Boxes go to `presenter`, the end
  // of the program to `terminator`; `clock` dates the log lines.
  // REQUIRES: all three outlive the manager.
  ErrorManager(MessagePresenter& presenter, ProgramTerminator& terminator,
               const Clock& clock = SystemClock());
  ErrorManager(const ErrorManager&) = delete;
  ErrorManager& operator=(const ErrorManager&) = delete;
  ~ErrorManager();

  // Replaces the presenter or terminator (the program installs its Qt
  // presenter at start). REQUIRES: no message is being shown.
  void SetPresenter(MessagePresenter& presenter);
  void SetTerminator(ProgramTerminator& terminator);

  // Creates the message list with the built-in messages (empty categories),
  // the history and the procedure names. Without a log the standard log
  // "ABCError.Log" in the current directory is used. Sets the default
  // category "ABC", history threshold 0, history view level 3 and history
  // reset on view off.
  void Init();
  // REQUIRES: `log` outlives the manager or the next Init/Kill.
  void Init(ErrorLog& log);

  // Appends the messages of a table in the stored form (message_table.h).
  // A table that is truncated or inconsistent is refused as a whole: nothing
  // is added and the Status says where the table is broken.
  Status AddErrors(std::span<const std::uint8_t> storedTable);

  // Context of this thread, trailing blanks removed, cut to kMaxContextLength.
  void SetField(std::string_view name);
  void SetFile(std::string_view name);
  void SetKey(std::string_view name);

  // Appends the calling thread's procedure name / removes its last one.
  void SetProcedureName(std::string_view name);
  void RemoveProcedureName();

  // Reports message `number` and returns the result of its level: 0 go on,
  // kLevelCancel the user declined, kLevelNotify informed. An unknown number
  // shows nothing and returns 0. A fatal message ends the program through the
  // terminator after its box closes (returns kLevelFatal only when the
  // terminator returns, as in tests).
  int Throw(int number);
  // As Throw, with `text` (trailing blanks removed) as %Message.
  int ThrowMessage(int number, std::string_view text);

  // Shows message `number` in a plain box (exclamation icon, the given
  // buttons and default, the message style) whatever its level; nothing is
  // logged or recorded. Returns the button pressed; when silent, the default
  // button at once; for an unknown number, 0 without showing anything.
  int Message(int number, int buttons, int defaultButton);

  // Shows the history window titled "Errors History" with OK and Help.
  // Returns the button pressed.
  int ViewHistory();

  // Empties the message list, the history and the procedure names and
  // releases the standard log. Throw then knows no message until Init.
  void Kill();

  // The calling thread's current message with its placeholders replaced by
  // the context (see error_manager.cpp for the order).
  std::string FormatMessage() const;

  // Logs (when logging is on), records in the history (when the threshold is
  // not 0) and shows `text` (unless silent). With a history, only messages of
  // the history view level are shown, in the history window. Returns the
  // button pressed, or defaultButton when nothing was shown.
  int ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                  int defaultButton);

  // Settings. Safe to change from any thread.
  bool silent() const { return silent_; }
  void SetSilent(bool on) { silent_ = on; }
  bool logErrors() const { return logErrors_; }
  void SetLogErrors(bool on) { logErrors_ = on; }
  // 0: no history; N > 0: keep the last N entries; negative: no limit.
  std::int32_t historyThreshold() const { return historyThreshold_; }
  void SetHistoryThreshold(std::int32_t threshold) { historyThreshold_ = threshold; }
  std::int32_t historyViewLevel() const { return historyViewLevel_; }
  void SetHistoryViewLevel(std::int32_t level) { historyViewLevel_ = level; }
  bool historyResetOnView() const { return historyResetOnView_; }
  void SetHistoryResetOnView(bool on) { historyResetOnView_ = on; }
  std::int16_t messageStyle() const { return messageStyle_; }
  void SetMessageStyle(std::int16_t style) { messageStyle_ = style; }
  std::string defaultCategory() const;
  void SetDefaultCategory(std::string_view category);

  // A copy of the history, oldest first.
  std::vector<HistoryEntry> History() const;

 private:
  struct ThreadState;
  ThreadState& StateOfThisThread() const;
  // Makes message `number` this thread's current message; false when the
  // number is unknown (the current message is then empty, level 0).
  bool SelectMessage(int number) const;
  std::string ProcedureNameOfThisThread() const;
  std::string MessageText(int number) const;
  void WriteLogLine(std::string_view text);
  void RecordInHistory(std::string_view text, std::int32_t threshold);

  std::atomic<MessagePresenter*> presenter_;
  std::atomic<ProgramTerminator*> terminator_;
  const Clock& clock_;
  const std::uint64_t instanceId_;

  mutable std::mutex mutex_;  // guards everything below up to the settings
  std::vector<MessageEntry> messages_;
  std::deque<HistoryEntry> history_;
  struct ProcedureName {
    std::thread::id thread;
    std::string name;
  };
  std::vector<ProcedureName> procedureNames_;
  std::unique_ptr<StandardErrorLog> standardLog_;
  ErrorLog* log_ = nullptr;
  std::string defaultCategory_;

  std::atomic<bool> silent_{false};
  std::atomic<bool> logErrors_{false};
  std::atomic<std::int32_t> historyThreshold_{0};
  std::atomic<std::int32_t> historyViewLevel_{kLevelFatal};
  std::atomic<bool> historyResetOnView_{false};
  std::atomic<std::int16_t> messageStyle_{0};
};

// The program's one error manager. It starts with a presenter that writes
// messages to standard error (and answers with the default button) and the
// exiting terminator; the GUI program installs its own presenter at start.
ErrorManager& GlobalErrorManager();

}  // namespace paltrix::errors
