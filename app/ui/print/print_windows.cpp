#include "app/ui/print/print_windows.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "app/records/produkt.h"
#include "app/ui/print/mixed_pallet_window.h"
#include "app/ui/print/print_data_dialog.h"
#include "app/ui/print/print_session.h"

namespace paltrix::app::print {
namespace {

namespace produkt = records::produkt;

// The small window that shows the pallets of a direct print while they are
// sent; it closes itself when the run has ended and not before.
class DirectPrintWindow final : public QDialog {
 public:
  DirectPrintWindow(records::RecordContext& records, const PrintServices& services, QWidget* parent)
      : QDialog(parent), session_(records, services, this) {
    setObjectName(QStringLiteral("DirectPrintWindow"));
    setWindowTitle(QStringLiteral("PRINT"));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* progress = new QLabel(QStringLiteral("Udskriver…"), this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setMinimumWidth(320);
    (new QVBoxLayout(this))->addWidget(progress);
    connect(&session_, &PrintSession::progress, progress, [progress](const QString& text) {
      if (!text.isEmpty()) progress->setText(text);
    });
  }

  // Best-before := today + shelf life, the run counts' defaults, then the
  // direct dispatch; returns when the run has ended.
  void Run(std::uint8_t labelType) {
    session_.Open();
    const fields::Image product = session_.records().Buffer(produkt::kSchema).image;
    fields::WriteLong(
        product, produkt::HOLDBARTIL,
        session_.clock().Today() + fields::ReadShort(product, produkt::HOLDBARHEDSDAGE));
    dispatch::PrintJob job;
    job.variant = dispatch::DispatchVariant::kDirect;
    job.labelType = labelType;
    job.counts = session_.DefaultCounts();
    if (session_.Print(job, [this](const dispatch::PrintOutcome*) { accept(); })) exec();
  }

  void reject() override {
    if (!session_.printing()) QDialog::reject();
  }

 private:
  PrintSession session_;
};

}  // namespace

void OpenPrintDialog(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                     const PrintServices& services) {
  PrintDataDialog dialog(records, labelType, services, &parent);
  dialog.exec();
}

void OpenMixedPalletWindow(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                           const PrintServices& services) {
  MixedPalletWindow window(records, labelType, services, &parent);
  window.exec();
}

void PrintDirect(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                 std::string_view ai90Text, const PrintServices& services) {
  // The catalogue's AI90 text goes to the 6-inch labels, which do not print it.
  static_cast<void>(ai90Text);
  DirectPrintWindow window(records, services, &parent);
  window.Run(labelType);
}

}  // namespace paltrix::app::print
