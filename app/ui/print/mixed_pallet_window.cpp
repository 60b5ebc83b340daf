#include "app/ui/print/mixed_pallet_window.h"

#include <fmt/format.h>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <charconv>

#include "app/records/produkt.h"
#include "app/ui/print/record_entry.h"
#include "framework/text/windows1252.h"

namespace paltrix::app::print {
namespace {

namespace produkt = records::produkt;

constexpr int kMaxPallets = 9999;

}  // namespace

void ApplyNumberPicture(QLineEdit& entry, std::string_view picture) {
  int width = 0;
  if (picture.size() > 2 && (picture.starts_with("@n") || picture.starts_with("@N"))) {
    const std::string_view digits = picture.substr(2);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), width);
    if (error != std::errc() || end != digits.data() + digits.size()) width = 0;
  }
  if (width < 1 || width > entry.maxLength()) return;
  entry.setMaxLength(width);
  entry.setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(width)), &entry));
}

MixedPalletWindow::MixedPalletWindow(records::RecordContext& records, std::uint8_t labelType,
                                     const PrintServices& services, QWidget* parent)
    : QDialog(parent), session_(records, services, this), labelType_(labelType) {
  setObjectName(QStringLiteral("MixedPalletWindow"));
  setWindowTitle(QStringLiteral("Print data"));
  BuildWindow();

  session_.Open();
  const labels::RunCounts counts = session_.DefaultCounts();
  labelsPerPallet_ = counts.labelsPerPallet;
  pallets_->setValue(counts.pallets);
  const settings::PrinterSettings& ini = session_.printerSettings();
  caption_->setText(QString::fromStdString(text::ToUtf8(ini.mixedPalletCaption)));
  previewFirst_->setVisible(session_.PrintsPages());

  const fields::Image product = session_.records().Buffer(produkt::kSchema).image;
  dispatch::PrepareMixedPallet(product, session_.clock());
  mixNumber_->setText(FieldText(product, produkt::BATCHNR));
  week_->setValue(fields::ReadLong(product, produkt::HOLDBARTIL));
  flowerOrderNumber_->setText(FieldText(product, produkt::ANTALPRKOLLIE));
  productName_->setText(FieldText(product, produkt::PRODUKTNAVN));
  ApplyNumberPicture(*mixNumber_, ini.mixNumberPicture);
  ApplyNumberPicture(*flowerOrderNumber_, ini.flowerOrderNumberPicture);

  connect(&session_, &PrintSession::progress, progress_, &QLabel::setText);
}

void MixedPalletWindow::BuildWindow() {
  mixNumber_ = NewTextEntry("mixNumber", produkt::BATCHNR.size - 1, this);
  caption_ = NewTextEntry("caption", settings::kMaxMixedPalletCaptionLength, this);
  print_ = new QPushButton(QStringLiteral("&Print"), this);
  print_->setObjectName(QStringLiteral("print"));
  print_->setProperty("controlNumber", 3);
  print_->setDefault(true);
  week_ = new QSpinBox(this);
  week_->setObjectName(QStringLiteral("week"));
  week_->setRange(1, 53);
  flowerOrderNumber_ = NewTextEntry("flowerOrderNumber", produkt::ANTALPRKOLLIE.size, this);
  pallets_ = new QSpinBox(this);
  pallets_->setObjectName(QStringLiteral("pallets"));
  pallets_->setRange(1, kMaxPallets);
  productName_ = NewTextEntry("productName", produkt::PRODUKTNAVN.size, this);
  previewFirst_ = NewPreviewCheck(this);
  cancel_ = new QPushButton(QStringLiteral("&Fortryd"), this);
  cancel_->setObjectName(QStringLiteral("cancel"));
  progress_ = new QLabel(this);
  progress_->setObjectName(QStringLiteral("progress"));

  auto* top = new QHBoxLayout;
  top->addWidget(mixNumber_);
  top->addWidget(caption_, 1);
  top->addWidget(print_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Ugenr"), week_);
  form->addRow(QStringLiteral("Blomster ordrenr:"), flowerOrderNumber_);
  form->addRow(QStringLiteral("Antal:"), pallets_);
  form->addRow(QStringLiteral("Navn:"), productName_);
  form->addRow(QString(), previewFirst_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(form);
  layout->addWidget(progress_);
  layout->addLayout(buttons);

  QWidget* order[] = {mixNumber_, caption_,     print_,        week_,  flowerOrderNumber_,
                      pallets_,   productName_, previewFirst_, cancel_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(caption_, &QLineEdit::editingFinished, this, &MixedPalletWindow::CaptionAccepted);
  connect(print_, &QPushButton::clicked, this, &MixedPalletWindow::PrintPressed);
  connect(cancel_, &QPushButton::clicked, this, &MixedPalletWindow::reject);
}

void MixedPalletWindow::CaptionAccepted() {
  if (!caption_->isModified()) return;
  caption_->setModified(false);
  const std::optional<std::string> caption = RecordText(*caption_);
  const Status written =
      caption
          ? settings::WriteMixedPalletCaption(session_.settingsIniPath(), *caption)
          : Status(ErrorCode::kInvalidValue, "The caption holds characters that cannot be stored.");
  if (!written.ok()) {
    session_.errors().ShowMessage(written.ToString(), "Print data",
                                  errors::MessageIcon::kExclamation, errors::kButtonOk,
                                  errors::kButtonOk);
  }
}

bool MixedPalletWindow::StoreEntries() {
  const std::optional<std::string> mixNumber = RecordText(*mixNumber_);
  const std::optional<std::string> flowerOrderNumber = RecordText(*flowerOrderNumber_);
  const std::optional<std::string> name = RecordText(*productName_);
  if (!mixNumber || !flowerOrderNumber || !name) {
    session_.errors().ShowMessage("Et felt indeholder tegn, som ikke kan gemmes.", "Print data",
                                  errors::MessageIcon::kExclamation, errors::kButtonOk,
                                  errors::kButtonOk);
    return false;
  }
  const fields::Image product = session_.records().Buffer(produkt::kSchema).image;
  fields::WriteText(product, produkt::BATCHNR, *mixNumber);
  fields::WriteText(product, produkt::ANTALPRKOLLIE, *flowerOrderNumber);
  fields::WriteText(product, produkt::PRODUKTNAVN, *name);
  fields::WriteLong(product, produkt::HOLDBARTIL, week_->value());
  return true;
}

void MixedPalletWindow::PrintPressed() {
  if (busy()) return;
  CaptionAccepted();
  if (!StoreEntries()) return;
  dispatch::PrintJob job;
  job.variant = dispatch::DispatchVariant::kMixedWindow;
  job.labelType = labelType_;
  job.counts = {.pallets = pallets_->value(), .labelsPerPallet = labelsPerPallet_};
  // The label prints the caption as the entry holds it.
  settings::PrinterSettings& ini = session_.printerSettings();
  ini.mixedPalletCaption = RecordText(*caption_).value_or(ini.mixedPalletCaption);
  SetBusy(true);
  const bool started = session_.Print(
      job,
      [this](const dispatch::PrintOutcome* outcome) {
        SetBusy(false);
        if (outcome != nullptr) accept();
      },
      previewFirst_->isChecked());
  if (!started) SetBusy(false);
}

void MixedPalletWindow::SetBusy(bool busy) {
  for (QWidget* widget :
       std::initializer_list<QWidget*>{mixNumber_, caption_, print_, week_, flowerOrderNumber_,
                                       pallets_, productName_, previewFirst_, cancel_}) {
    widget->setEnabled(!busy);
  }
}

void MixedPalletWindow::reject() {
  if (!busy()) QDialog::reject();
}

}  // namespace paltrix::app::print
