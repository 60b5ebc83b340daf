#pragma once

#include "framework/errors/message_presenter.h"

namespace paltrix::errors {

// For programs without windows: writes each box and history window to
// standard error and answers with the default button.
class ConsolePresenter final : public MessagePresenter {
 public:
  int ShowMessageBox(const MessageBoxRequest& request) override;
  int ShowHistory(std::string_view title, std::span<const HistoryEntry> entries, int buttons,
                  int defaultButton) override;
};

}  // namespace paltrix::errors
