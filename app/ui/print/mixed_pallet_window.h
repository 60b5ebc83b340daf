#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdint>

#include "app/ui/print/print_session.h"
#include "app/ui/print/print_windows.h"

namespace paltrix::app::print {

// The mixed-pallet window (also titled "Print data"). Fields in tab order:
// the mix number (PRO:BATCHNR, "1" at open, picture of INI "MixPicture"), the
// caption (INI "NETAI90", written back when the entry is accepted), "&Print",
// "Ugenr" (PRO:HOLDBARTIL holds this week's number here), "Blomster
// ordrenr:" (PRO:ANTALPRKOLLIE, picture of INI "BlOPicture"), "Antal:" (the
// pallets), "Navn:" (PRO:PRODUKTNAVN) and "&Fortryd".
//
// "&Print" writes the entries into the Produkt buffer, runs the mixed-window
// dispatch and closes once the run has ended. No print-activity report.
class MixedPalletWindow final : public QDialog {
  Q_OBJECT

 public:
  MixedPalletWindow(records::RecordContext& records, std::uint8_t labelType,
                    const PrintServices& services, QWidget* parent = nullptr);

  bool busy() const { return session_.printing(); }
  void reject() override;

 private:
  void BuildWindow();
  void CaptionAccepted();
  bool StoreEntries();
  void PrintPressed();
  void SetBusy(bool busy);

  PrintSession session_;
  std::uint8_t labelType_;
  int labelsPerPallet_ = 0;

  QLineEdit* mixNumber_;
  QLineEdit* caption_;
  QPushButton* print_;
  QSpinBox* week_;
  QLineEdit* flowerOrderNumber_;
  QSpinBox* pallets_;
  QLineEdit* productName_;
  QCheckBox* previewFirst_;
  QPushButton* cancel_;
  QLabel* progress_;
};

// Applies a numeric display picture ("@n01", "@n07": digits only, at most
// that many) to an entry; other pictures leave the entry free text.
void ApplyNumberPicture(QLineEdit& entry, std::string_view picture);

}  // namespace paltrix::app::print
