#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "app/records/file_registry.h"
#include "app/records/record_context.h"
#include "app/settings/printer_settings.h"
#include "app/ui/catalogue_printing.h"
#include "app/ui/company_controls.h"
#include "output/spooler.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace paltrix::app {

// The settings window "Firma data": the sender record, the Printer record and
// six keys of the settings INI file, on four tabs ("Firma", "Printer",
// "SSCC", "Skanner"), with OK and cancel ("Fortryd", Escape).
//
// It is a top-level window of its own with its own record context (object
// "RecordContext", a child of the window): what it reads is its own copy,
// as if it ran on a thread of its own. From it the operator opens the
// product catalogue ("Produkt katalog", again a window of its own with its
// own context; closed with this window) and the "Alle firmaer" list (modal
// here, on this window's context).
//
// Touching "Antal paller/serie" sets up the run counts of print windows
// opened while this window is open (RunCountDefaults): the pallets shown there
// and the labels per pallet shown on the "SSCC" tab.
//
// The ZPL adjustments (top margin, speed, contrast, start adjustment, left
// margin, resistance, stop adjustment, dots and their prompts) are shown
// only while the type starts with "ZPL": at open, on a new type and on each
// change of tab.
//
// OK writes, in this order, the Printer record, the sender record and the
// keys "Printer", "TMarg", "LMarg", "IDAI90", "WideNarrow" and "WAIT", then
// closes. The sender record goes through the company write rule: the serial
// the window read at open is not written back (prints made meanwhile keep
// their SSCCs); a serial the operator typed is, and one below the stored
// serial only after the operator has confirmed it. A write that fails is
// reported and the window stays open, so nothing typed is lost.
class SettingsWindow final : public QDialog {
  Q_OBJECT

 public:
  // Creates the window with its own record context and shows it; it deletes
  // itself when closed. REQUIRES: `files`, `printing` and `spooler` outlive it.
  static SettingsWindow* Start(const records::FileRegistry& files, CataloguePrinting& printing,
                               output::Spooler* spooler = nullptr);

  SettingsWindow(const records::FileRegistry& files, CataloguePrinting& printing,
                 output::Spooler* spooler = nullptr, QWidget* parent = nullptr);
  ~SettingsWindow() override;

  records::RecordContext& context() const;

  // Closing the window (OK, cancel or the frame ending the program) closes
  // the catalogues opened from it.
  void done(int result) override;

 private:
  QWidget* BuildCompanyTab();
  QWidget* BuildPrinterTab();
  QWidget* BuildSsccTab();
  QWidget* BuildScannerTab();
  void ShowValues();
  void ApplyPrinterTypeRule();
  // Shows PRI:SPEED in the list that offers it (a value neither offers as
  // an extra entry of the rates) and clears the other.
  void ShowSpeed(const QString& speed);
  void PublishRunCounts();
  void ChoosePrinter();
  void OpenCatalogue();
  void OpenCompanies();
  void Accept();
  // Copies the controls into the Printer and sender buffers; false (after
  // telling the operator) when a text cannot be stored.
  bool TakeControls();
  bool WriteSender();

  const records::FileRegistry& files_;
  CataloguePrinting& printing_;
  output::Spooler* spooler_;
  class WindowRecordContext* context_ = nullptr;
  settings::PrinterSettings iniValues_;
  std::int32_t serialAtOpen_ = 0;
  std::vector<QPointer<QWidget>> catalogues_;
  std::vector<QWidget*> zplAdjustments_;

  QTabWidget* tabs_ = nullptr;
  CompanyControls sender_;
  QLineEdit* printerName_ = nullptr;
  QSpinBox* wait_ = nullptr;
  QComboBox* type_ = nullptr;
  QSpinBox* topMargin_ = nullptr;
  QComboBox* speedRate_ = nullptr;
  QComboBox* speedName_ = nullptr;
  QString speedValue_;
  QSpinBox* contrast_ = nullptr;
  QSpinBox* startAdjust_ = nullptr;
  QSpinBox* xStart_ = nullptr;
  QSpinBox* leftMargin_ = nullptr;
  QSpinBox* resistance_ = nullptr;
  QSpinBox* stopAdjust_ = nullptr;
  QComboBox* dots_ = nullptr;
  QSpinBox* labelsPerPallet_ = nullptr;
  QCheckBox* idToAi90_ = nullptr;
  QCheckBox* singlecode_ = nullptr;
  QComboBox* scannerPort_ = nullptr;
  QComboBox* scannerBaud_ = nullptr;
  QButtonGroup* scannerData_ = nullptr;
  QButtonGroup* scannerStop_ = nullptr;
  QButtonGroup* scannerParity_ = nullptr;
};

}  // namespace paltrix::app
