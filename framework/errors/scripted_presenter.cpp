#include "framework/errors/scripted_presenter.h"

namespace paltrix::errors {

void ScriptedPresenter::QueueAnswer(int button) {
  std::lock_guard lock(mutex_);
  answers_.push_back(button);
}

int ScriptedPresenter::NextAnswer(int defaultButton) {
  if (answers_.empty()) return defaultButton;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

int ScriptedPresenter::ShowMessageBox(const MessageBoxRequest& request) {
  std::lock_guard lock(mutex_);
  boxes_.push_back(request);
  return NextAnswer(request.defaultButton);
}

int ScriptedPresenter::ShowHistory(std::string_view title, std::span<const HistoryEntry> entries,
                                   int buttons, int defaultButton) {
  std::lock_guard lock(mutex_);
  historyWindows_.push_back(
      {std::string(title), {entries.begin(), entries.end()}, buttons, defaultButton});
  return NextAnswer(defaultButton);
}

std::vector<MessageBoxRequest> ScriptedPresenter::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<ScriptedPresenter::HistoryRequest> ScriptedPresenter::historyWindows() const {
  std::lock_guard lock(mutex_);
  return historyWindows_;
}

void RecordingTerminator::Halt(std::string_view reason) {
  std::lock_guard lock(mutex_);
  reasons_.emplace_back(reason);
}

std::vector<std::string> RecordingTerminator::reasons() const {
  std::lock_guard lock(mutex_);
  return reasons_;
}

}  // namespace paltrix::errors
