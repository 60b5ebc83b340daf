#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <memory>

#include "convert/product_conversion.h"

class QLabel;

namespace paltrix::convert {

// The "Converting File" window: "Converting Record #:" with the count beside
// it while records are copied, then "Building Keys". It keeps the desktop
// responsive by handing the event loop a turn now and then from inside the
// conversion, which runs on the window's thread.
class ProgressWindow final : public QDialog, public ConversionProgress {
 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void Started() override;
  void RecordsConverted(std::int64_t count) override;
  void BuildingKeys() override;

  QLabel* recordCaption() const { return recordCaption_; }
  QLabel* recordCount() const { return recordCount_; }
  QLabel* buildingKeys() const { return buildingKeys_; }

 private:
  void Refresh();

  QLabel* recordCaption_;
  QLabel* recordCount_;
  QLabel* buildingKeys_;
  QElapsedTimer sinceRefresh_;
};

// The message box for a failure or a notice: the text and one button.
std::unique_ptr<QMessageBox> MakeConversionMessage(const QString& text, QMessageBox::Icon icon);

}  // namespace paltrix::convert
