#include "app/ui/print/print_data_dialog.h"

#include <fmt/format.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

#include "app/records/produkt.h"
#include "app/ui/print/record_entry.h"

namespace paltrix::app::print {
namespace {

namespace produkt = records::produkt;

constexpr int kMaxRunCount = 9999;
constexpr int kMaxAi90Length = 39;
constexpr int kMaxOrderNumberLength = 10;

QSpinBox* NewCountEntry(const char* objectName, int minimum, QWidget* parent) {
  auto* entry = new QSpinBox(parent);
  entry->setObjectName(QString::fromLatin1(objectName));
  entry->setRange(minimum, kMaxRunCount);
  return entry;
}

// A date entry that Tab leaves for the next field; the day, month and year
// are reached with the arrow keys or by typing.
class DateEntry final : public QDateEdit {
 public:
  using QDateEdit::QDateEdit;

 protected:
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

}  // namespace

PrintDataDialog::PrintDataDialog(records::RecordContext& records, std::uint8_t labelType,
                                 const PrintServices& services, QWidget* parent)
    : QDialog(parent),
      session_(records, services, this),
      reportSender_(this),
      labelType_(labelType) {
  setObjectName(QStringLiteral("PrintDataDialog"));
  setWindowTitle(QStringLiteral("Print data"));
  BuildWindow();

  session_.Open();
  if (!session_.settingsIniPath().empty()) {
    Result<net::PrintActivitySettings> report =
        net::ReadPrintActivitySettings(session_.settingsIniPath());
    if (report.ok()) {
      reportSettings_ = *report;
    } else {
      fmt::print(stderr, "Paltrix: no print-activity report: {}\n", report.status().ToString());
    }
  }
  const labels::RunCounts counts = session_.DefaultCounts();
  labelsPerPallet_->setValue(counts.labelsPerPallet);
  pallets_->setValue(counts.pallets);
  ai90Group_->setVisible(session_.Format() == dispatch::LabelFormat::kZpl6Inch);
  previewFirst_->setVisible(session_.PrintsPages());
  ai90Flag_->setChecked(session_.printerSettings().ai90Flag != 0);
  ShowProduct();

  connect(&session_, &PrintSession::progress, progress_, &QLabel::setText);
  connect(&reportSender_, &PrintActivitySender::completed, this, [this] {
    busy_ = false;
    accept();
  });
}

void PrintDataDialog::BuildWindow() {
  productId_ = NewTextEntry("productId", produkt::PRODUKTID.size - 1, this);
  productName_ = NewTextEntry("productName", produkt::PRODUKTNAVN.size, this);
  orderNumber_ = NewTextEntry("orderNumber", kMaxOrderNumberLength, this);
  count_ = NewCountEntry("count", 0, this);
  bestBefore_ = new DateEntry(this);
  bestBefore_->setObjectName(QStringLiteral("bestBefore"));
  bestBefore_->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
  batch_ = NewTextEntry("batch", produkt::BATCHNR.size - 1, this);
  netWeight_ = new QDoubleSpinBox(this);
  netWeight_->setObjectName(QStringLiteral("netWeight"));
  netWeight_->setLocale(QLocale(QLocale::Danish, QLocale::Denmark));
  netWeight_->setDecimals(3);
  netWeight_->setRange(0, 9999.999);
  labelsPerPallet_ = NewCountEntry("labelsPerPallet", 1, this);
  pallets_ = NewCountEntry("pallets", 1, this);
  previewFirst_ = NewPreviewCheck(this);

  print_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                           QStringLiteral("&Print"), this);
  print_->setObjectName(QStringLiteral("print"));
  print_->setProperty("controlNumber", 10);
  print_->setDefault(true);

  ai90Group_ = new QGroupBox(QStringLiteral("AI90"), this);
  ai90Group_->setObjectName(QStringLiteral("ai90Group"));
  ai90Flag_ = new QCheckBox(QStringLiteral("Produkt ID som AI90"), ai90Group_);
  ai90Flag_->setObjectName(QStringLiteral("ai90Flag"));
  ai90Text_ = NewTextEntry("ai90Text", kMaxAi90Length, ai90Group_);
  ai90Text_->setReadOnly(true);
  ai90Text_->setFocusPolicy(Qt::NoFocus);
  auto* ai90Layout = new QHBoxLayout(ai90Group_);
  ai90Layout->addWidget(ai90Flag_);
  ai90Layout->addWidget(ai90Text_);

  cancel_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral("&Fortryd"), this);
  cancel_->setObjectName(QStringLiteral("cancel"));
  progress_ = new QLabel(this);
  progress_->setObjectName(QStringLiteral("progress"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Produkt ID"), productId_);
  form->addRow(QStringLiteral("Produkt"), productName_);
  form->addRow(QStringLiteral("Ordre nr."), orderNumber_);
  form->addRow(QStringLiteral("Antal kolli"), count_);
  form->addRow(QStringLiteral("Holdbarhedsdato"), bestBefore_);
  form->addRow(QStringLiteral("Batch nr."), batch_);
  form->addRow(QStringLiteral("Nettovægt"), netWeight_);
  form->addRow(QStringLiteral("Etiketter pr. palle"), labelsPerPallet_);
  form->addRow(QStringLiteral("Antal paller"), pallets_);
  form->addRow(QString(), previewFirst_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(print_);
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(ai90Group_);
  layout->addWidget(progress_);
  layout->addLayout(buttons);

  QWidget* order[] = {productId_, productName_, orderNumber_,     count_,   bestBefore_,
                      batch_,     netWeight_,   labelsPerPallet_, pallets_, previewFirst_,
                      print_,     ai90Flag_,    cancel_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(print_, &QPushButton::clicked, this, &PrintDataDialog::PrintPressed);
  connect(cancel_, &QPushButton::clicked, this, &PrintDataDialog::reject);
  connect(ai90Flag_, &QCheckBox::toggled, this, &PrintDataDialog::RefreshAi90Text);
  connect(productId_, &QLineEdit::textChanged, this, &PrintDataDialog::RefreshAi90Text);
}

void PrintDataDialog::ShowProduct() {
  const fields::ConstImage product = session_.records().Buffer(produkt::kSchema).image;
  productId_->setText(FieldText(product, produkt::PRODUKTID));
  productName_->setText(FieldText(product, produkt::PRODUKTNAVN));
  orderNumber_->setText(FieldText(product, produkt::NAVN2).left(kMaxOrderNumberLength));
  count_->setValue(fields::ReadLong(product, produkt::ANTALPRPALLE));
  bestBefore_->setDate(DateOfDayNumber(fields::ReadLong(product, produkt::HOLDBARTIL)));
  batch_->setText(FieldText(product, produkt::BATCHNR));
  netWeight_->setValue(static_cast<double>(fields::ReadDecimal(product, produkt::NETTOVAEGT)) /
                       1000.0);
}

void PrintDataDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Best-before is proposed once the window is open, as today + shelf life.
  if (bestBeforeProposed_) return;
  bestBeforeProposed_ = true;
  const fields::ConstImage product = session_.records().Buffer(produkt::kSchema).image;
  bestBefore_->setDate(DateOfDayNumber(session_.clock().Today() +
                                       fields::ReadShort(product, produkt::HOLDBARHEDSDAGE)));
  productId_->setFocus();
}

void PrintDataDialog::RefreshAi90Text() {
  if (ai90Flag_->isChecked()) ai90Text_->setText(productId_->text().left(kMaxAi90Length));
}

bool PrintDataDialog::StoreEntries() {
  const struct {
    const QLineEdit* entry;
    const fields::FieldDef& field;
    const char* prompt;
  } texts[] = {{productId_, produkt::PRODUKTID, "Produkt ID"},
               {productName_, produkt::PRODUKTNAVN, "Produkt"},
               {orderNumber_, produkt::NAVN2, "Ordre nr."},
               {batch_, produkt::BATCHNR, "Batch nr."}};
  const fields::Image product = session_.records().Buffer(produkt::kSchema).image;
  for (const auto& text : texts) {
    if (!RecordText(*text.entry)) {
      session_.errors().ShowMessage(
          fmt::format("\"{}\" indeholder tegn, som ikke kan gemmes.", text.prompt), "Print data",
          errors::MessageIcon::kExclamation, errors::kButtonOk, errors::kButtonOk);
      return false;
    }
  }
  for (const auto& text : texts) fields::WriteText(product, text.field, *RecordText(*text.entry));
  fields::WriteLong(product, produkt::ANTALPRPALLE, count_->value());
  fields::WriteLong(product, produkt::HOLDBARTIL, DayNumberOfDate(bestBefore_->date()).value_or(0));
  fields::WriteDecimal(product, produkt::NETTOVAEGT, std::llround(netWeight_->value() * 1000.0));
  return true;
}

void PrintDataDialog::PrintPressed() {
  if (busy_ || !StoreEntries()) return;
  dispatch::PrintJob job;
  job.variant = dispatch::DispatchVariant::kDialog;
  job.labelType = labelType_;
  job.counts = {.pallets = pallets_->value(), .labelsPerPallet = labelsPerPallet_->value()};
  SetBusy(true);
  if (!session_.Print(
          job, [this](const dispatch::PrintOutcome* outcome) { RunEnded(outcome); },
          previewFirst_->isChecked())) {
    SetBusy(false);
  }
}

void PrintDataDialog::RunEnded(const dispatch::PrintOutcome* outcome) {
  if (outcome == nullptr) {  // refused before anything was printed; shown already
    SetBusy(false);
    return;
  }
  if (outcome->a5Pages.cancelled && outcome->a5Pages.printed == 0) {
    // The preview was closed: nothing printed, so nothing to report. The
    // labels stay queued for the next run, so the window closes rather than
    // offering to queue them once more.
    SetBusy(false);
    reject();
    return;
  }
  const fields::ConstImage product = session_.records().Buffer(produkt::kSchema).image;
  progress_->setText(QStringLiteral("Sender printrapport…"));
  reportSender_.Send(reportSettings_,
                     {.formatName = dispatch::ReportedFormatName(session_.StoredFormatName()),
                      .gtin = fields::ReadText(product, produkt::EANNR),
                      .labelsPerPallet = labelsPerPallet_->value(),
                      .pallets = pallets_->value()});
}

void PrintDataDialog::SetBusy(bool busy) {
  busy_ = busy;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           productId_, productName_, orderNumber_, count_, bestBefore_, batch_, netWeight_,
           labelsPerPallet_, pallets_, previewFirst_, print_, ai90Group_, cancel_}) {
    widget->setEnabled(!busy);
  }
}

void PrintDataDialog::reject() {
  if (!busy_) QDialog::reject();
}

}  // namespace paltrix::app::print
