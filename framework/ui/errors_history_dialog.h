#pragma once

#include <QDialog>
#include <span>
#include <string_view>

#include "framework/errors/message_presenter.h"

class QTreeWidget;

namespace paltrix::ui {

// The error manager's history window: the recorded messages in a list with
// the columns "Message" and "Category", and one button for each bit set in
// the buttons mask, highest bit first (Help, Cancel, Ignore, Retry, Abort, No,
// Yes, Ok). exec() returns the bit of the button pressed, or the default
// button when the window is closed without a choice.
class ErrorsHistoryDialog final : public QDialog {
  Q_OBJECT

 public:
  ErrorsHistoryDialog(std::string_view title, std::span<const errors::HistoryEntry> entries,
                      int buttons, int defaultButton, QWidget* parent = nullptr);

  QTreeWidget* list() const { return list_; }

  void reject() override;

 private:
  QTreeWidget* list_;
  int defaultButton_;
};

}  // namespace paltrix::ui
