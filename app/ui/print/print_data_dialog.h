#pragma once

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdint>

#include "app/ui/print/print_activity_sender.h"
#include "app/ui/print/print_session.h"
#include "app/ui/print/print_windows.h"
#include "net/print_activity_report.h"

namespace paltrix::app::print {

// The print dialog "Print data": the product in the record context's Produkt
// buffer with the values of this run, which the operator may change before
// printing. Fields in tab order: "Produkt ID", "Produkt", "Ordre nr.",
// "Antal kolli", "Holdbarhedsdato", "Batch nr.", "Nettovægt", "Etiketter pr.
// palle", "Antal paller", the print button (control 10), the "AI90" group
// (shown only for the 6-inch format) and the cancel button.
//
// Print writes the entries into the Produkt buffer (the record itself is not
// stored), runs the dialog's dispatch, then sends the print-activity report
// and closes when that has completed or failed. The dialog cannot be closed
// while a run or the report is going; it shows which pallet is being sent.
class PrintDataDialog final : public QDialog {
  Q_OBJECT

 public:
  PrintDataDialog(records::RecordContext& records, std::uint8_t labelType,
                  const PrintServices& services, QWidget* parent = nullptr);

  // True while a run or the report is going.
  bool busy() const { return busy_; }

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildWindow();
  void ShowProduct();
  // Copies the entries into the Produkt buffer; false (and a message) when
  // a text cannot be stored.
  bool StoreEntries();
  void RefreshAi90Text();
  void PrintPressed();
  void RunEnded(const dispatch::PrintOutcome* outcome);
  void SetBusy(bool busy);

  PrintSession session_;
  PrintActivitySender reportSender_;
  net::PrintActivitySettings reportSettings_;
  std::uint8_t labelType_;
  bool bestBeforeProposed_ = false;
  bool busy_ = false;

  QLineEdit* productId_;
  QLineEdit* productName_;
  QLineEdit* orderNumber_;
  QSpinBox* count_;
  QDateEdit* bestBefore_;
  QLineEdit* batch_;
  QDoubleSpinBox* netWeight_;
  QSpinBox* labelsPerPallet_;
  QSpinBox* pallets_;
  QCheckBox* previewFirst_;
  QPushButton* print_;
  QGroupBox* ai90Group_;
  QCheckBox* ai90Flag_;
  QLineEdit* ai90Text_;
  QPushButton* cancel_;
  QLabel* progress_;
};

}  // namespace paltrix::app::print
