#pragma once

#include "framework/errors/message_presenter.h"

namespace paltrix::ui {

// Shows the error manager's boxes with QMessageBox and its history window
// with ErrorsHistoryDialog, on top of the active window. Called from another
// thread, it shows them on the GUI thread and waits for the answer. Boxes are
// application-modal whatever the request's style, which Qt has no use for.
// REQUIRES: a QApplication exists.
class QtMessagePresenter final : public errors::MessagePresenter {
 public:
  int ShowMessageBox(const errors::MessageBoxRequest& request) override;
  int ShowHistory(std::string_view title, std::span<const errors::HistoryEntry> entries,
                  int buttons, int defaultButton) override;
};

}  // namespace paltrix::ui
