#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "framework/errors/message_presenter.h"
#include "framework/errors/program_terminator.h"

// Test stand-ins for the user and for the end of the program.
namespace paltrix::errors {

// Answers boxes and history windows with queued buttons (the default button
// once the queue is empty) and keeps every request. Safe across threads.
class ScriptedPresenter final : public MessagePresenter {
 public:
  struct HistoryRequest {
    std::string title;
    std::vector<HistoryEntry> entries;
    int buttons = 0;
    int defaultButton = 0;
  };

  // The next box or history window is answered with `button`.
  void QueueAnswer(int button);

  int ShowMessageBox(const MessageBoxRequest& request) override;
  int ShowHistory(std::string_view title, std::span<const HistoryEntry> entries, int buttons,
                  int defaultButton) override;

  std::vector<MessageBoxRequest> boxes() const;
  std::vector<HistoryRequest> historyWindows() const;

 private:
  int NextAnswer(int defaultButton);

  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<MessageBoxRequest> boxes_;
  std::vector<HistoryRequest> historyWindows_;
};

// Records each Halt and returns, so the caller goes on.
class RecordingTerminator final : public ProgramTerminator {
 public:
  void Halt(std::string_view reason) override;
  std::vector<std::string> reasons() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> reasons_;
};

}  // namespace paltrix::errors
