#include "app/ui/settings_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <limits>

#include "app/dispatch/label_format.h"
#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/settings/settings_ini_name.h"
#include "app/ui/company_list_window.h"
#include "app/ui/company_write_question.h"
#include "app/ui/form_controls.h"
#include "app/ui/print/run_count_defaults.h"
#include "app/ui/product_catalogue_window.h"
#include "app/ui/question_box.h"
#include "app/ui/window_record_context.h"
#include "framework/text/windows1252.h"
#include "output/cups_spooler.h"
#include "output/raw_printer.h"
#include "output/ui/qt_printer_chooser.h"

namespace paltrix::app {
namespace {

namespace firma = records::firma;
namespace printer = records::printer;

constexpr int kShortMin = std::numeric_limits<std::int16_t>::min();
constexpr int kShortMax = std::numeric_limits<std::int16_t>::max();
constexpr int kPrefixDigits = 8;
constexpr int kSerialDigits = 9;

QStringList FormatChoices() {
  QStringList choices;
  for (dispatch::LabelFormat format :
       {dispatch::LabelFormat::kZpl4Inch, dispatch::LabelFormat::kZpl6Inch,
        dispatch::LabelFormat::kStandard, dispatch::LabelFormat::kLimited,
        dispatch::LabelFormat::kMixed}) {
    choices << QString::fromUtf8(dispatch::StoredName(format));
  }
  return choices;
}

QButtonGroup* RadioChoices(QWidget& parent, QLayout& layout, const char* objectName, int control,
                           const QStringList& choices) {
  auto* group = new QButtonGroup(&parent);
  group->setObjectName(QString::fromUtf8(objectName));
  int id = 0;
  for (const QString& choice : choices) {
    auto* option = new QRadioButton(choice, &parent);
    option->setObjectName(QStringLiteral("%1_%2").arg(QString::fromUtf8(objectName), choice));
    option->setProperty("controlNumber", control);
    group->addButton(option, id++);
    layout.addWidget(option);
  }
  return group;
}

void ShowRadio(QButtonGroup& group, const QString& value) {
  for (QAbstractButton* option : group.buttons()) option->setChecked(option->text() == value);
}

QString ChosenRadio(const QButtonGroup& group) {
  QAbstractButton* chosen = group.checkedButton();
  return chosen != nullptr ? chosen->text() : QString();
}

std::filesystem::path SettingsIniPath() {
  Result<std::filesystem::path> path =
      settings::CurrentSettingsIniPath(std::filesystem::current_path());
  return path.ok() ? *path : std::filesystem::path();
}

}  // namespace

SettingsWindow* SettingsWindow::Start(const records::FileRegistry& files,
                                      CataloguePrinting& printing, output::Spooler* spooler) {
  auto* window = new SettingsWindow(files, printing, spooler);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  return window;
}

SettingsWindow::SettingsWindow(const records::FileRegistry& files, CataloguePrinting& printing,
                               output::Spooler* spooler, QWidget* parent)
    : QDialog(parent), files_(files), printing_(printing), spooler_(spooler) {
  context_ = new WindowRecordContext(files, *this);
  setObjectName(QStringLiteral("Settings"));
  setWindowTitle(QStringLiteral("Firma data"));

  // Opening: the files, the INI keys, the Printer record and the sender.
  records::RecordContext& records = context();
  static_cast<void>(records.File(firma::kSchema));
  static_cast<void>(records.File(records::produkt::kSchema));
  if (const std::filesystem::path ini = SettingsIniPath(); !ini.empty()) {
    if (Result<settings::PrinterSettings> read = settings::ReadPrinterSettings(ini); read.ok()) {
      iniValues_ = std::move(*read);
    }
  }
  static_cast<void>(
      records::LoadPrinterRecord(records::PrinterRecord::Process(), files.errorManager()));
  static_cast<void>(records.ReadFirma());

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SettingsTabs"));
  tabs_->addTab(BuildCompanyTab(), QStringLiteral("Firma"));
  tabs_->addTab(BuildPrinterTab(), QStringLiteral("Printer"));
  tabs_->addTab(BuildSsccTab(), QStringLiteral("SSCC"));
  tabs_->addTab(BuildScannerTab(), QStringLiteral("Skanner"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setProperty("controlNumber", 70);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Fortryd"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  cancel->setProperty("controlNumber", 71);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &SettingsWindow::Accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &SettingsWindow::ApplyPrinterTypeRule);
  connect(type_, &QComboBox::currentTextChanged, this, &SettingsWindow::ApplyPrinterTypeRule);

  ShowValues();
  ApplyPrinterTypeRule();
  // Whatever the operator does with "Antal paller/serie" sets up the run
  // counts that print windows opened meanwhile propose.
  connect(sender_.pallets, &QSpinBox::valueChanged, this, &SettingsWindow::PublishRunCounts);
  connect(sender_.pallets, &QSpinBox::editingFinished, this, &SettingsWindow::PublishRunCounts);
}

SettingsWindow::~SettingsWindow() {
  print::RunCountDefaults::Process().Withdraw(this);
}

records::RecordContext& SettingsWindow::context() const {
  return context_->context();
}

QWidget* SettingsWindow::BuildCompanyTab() {
  auto* tab = new QWidget(this);
  CompanyControls& c = sender_;
  c.name = TextEntry(*tab, "Company", 4, firma::NAVN.size);
  c.address1 = TextEntry(*tab, "Address1", 6, firma::ADRESSE1.size);
  c.address2 = TextEntry(*tab, "Address2", 7, firma::ADRESSE2.size);
  c.postCode = NumberEntry(*tab, "PostCode", 10, 0, kShortMax);
  c.town = TextEntry(*tab, "Town", 11, firma::BYNAVN.size);
  c.phone = TextEntry(*tab, "Phone", 14, firma::TELEFON.size);
  c.fax = TextEntry(*tab, "Fax", 15, firma::FAX.size);
  auto* catalogue = new QPushButton(QStringLiteral("Produkt katalog"), tab);
  catalogue->setObjectName(QStringLiteral("CatalogueButton"));
  catalogue->setProperty("controlNumber", 17);
  auto* companies =
      new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QString(), tab);
  companies->setObjectName(QStringLiteral("CompaniesButton"));
  companies->setProperty("controlNumber", 18);
  companies->setToolTip(QStringLiteral("Alle firmaer"));

  auto* town = new QHBoxLayout;
  town->addWidget(c.postCode);
  town->addWidget(c.town, 1);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Virksomhed"), c.name);
  form->addRow(QStringLiteral("Adresse"), c.address1);
  form->addRow(QString(), c.address2);
  form->addRow(QStringLiteral("Postnr."), town);
  form->addRow(QStringLiteral("Telefon"), c.phone);
  form->addRow(QStringLiteral("Fax"), c.fax);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(catalogue);
  buttons->addWidget(companies);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addStretch();

  connect(catalogue, &QPushButton::clicked, this, &SettingsWindow::OpenCatalogue);
  connect(companies, &QPushButton::clicked, this, &SettingsWindow::OpenCompanies);
  return tab;
}

QWidget* SettingsWindow::BuildPrinterTab() {
  auto* tab = new QWidget(this);
  printerName_ = TextEntry(*tab, "PrinterName", 21, settings::kMaxPrinterNameLength);
  auto* choose = new QPushButton(QStringLiteral("..."), tab);
  choose->setObjectName(QStringLiteral("ChoosePrinterButton"));
  choose->setProperty("controlNumber", 22);
  choose->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  wait_ = NumberEntry(*tab, "WaitSeconds", 23, 0, 9999);
  type_ = ChoiceList(*tab, "PrinterType", 25, FormatChoices());
  topMargin_ = NumberEntry(*tab, "TopMargin", 27, kShortMin, kShortMax);
  speedRate_ = ChoiceList(*tab, "Speed", 29,
                          {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                           QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("8")});
  speedName_ =
      ChoiceList(*tab, "SpeedName", 30,
                 {QStringLiteral("NORMAL"), QStringLiteral("HIGH"), QStringLiteral("ULTRA HIGH")});
  contrast_ = NumberEntry(*tab, "Contrast", 32, -99, 999);
  contrast_->setToolTip(QStringLiteral("Justér fra -30 til +30"));
  startAdjust_ = NumberEntry(*tab, "StartAdjustment", 34, kShortMin, kShortMax);
  xStart_ = NumberEntry(*tab, "XStart", 36, kShortMin, kShortMax);
  leftMargin_ = NumberEntry(*tab, "LeftMargin", 37, kShortMin, kShortMax);
  resistance_ = NumberEntry(*tab, "Resistance", 39, kShortMin, kShortMax);
  stopAdjust_ = NumberEntry(*tab, "StopAdjustment", 41, kShortMin, kShortMax);
  dots_ = ChoiceList(*tab, "Dots", 42, {QStringLiteral("8"), QStringLiteral("12")});

  auto* grid = new QGridLayout(tab);
  int row = 0;
  // Adds a prompt and its control; the ZPL adjustments are remembered for
  // the printer-type rule.
  auto add = [&](const char* prompt, QWidget* control, bool zplAdjustment) {
    auto* label = new QLabel(QString::fromUtf8(prompt), tab);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    ++row;
    if (zplAdjustment) zplAdjustments_.insert(zplAdjustments_.end(), {label, control});
  };
  auto* name = new QHBoxLayout;
  name->addWidget(printerName_, 1);
  name->addWidget(choose);
  grid->addWidget(new QLabel(QStringLiteral("Printer"), tab), row, 0);
  grid->addLayout(name, row++, 1, 1, 2);
  add("Vent (sek.)", wait_, false);
  add("Type", type_, false);
  add("Top/bund", topMargin_, true);
  add("Hastighed", speedRate_, true);
  // Both speed lists set PRI:SPEED (a named speed reaches a ZPL printer as
  // rate 2); the printer-type rule does not switch the named one.
  grid->addWidget(speedName_, row - 1, 2);
  add("Kontrast", contrast_, true);
  add("Startadj.", startAdjust_, true);
  add("Start X", xStart_, false);
  add("Venstre", leftMargin_, true);
  add("Modstand", resistance_, true);
  add("Stopadj.", stopAdjust_, true);
  add("Dots:", dots_, true);
  grid->setRowStretch(row, 1);

  connect(choose, &QPushButton::clicked, this, &SettingsWindow::ChoosePrinter);
  connect(speedRate_, &QComboBox::activated, this,
          [this] { ShowSpeed(speedRate_->currentText()); });
  connect(speedName_, &QComboBox::activated, this,
          [this] { ShowSpeed(speedName_->currentText()); });
  return tab;
}

QWidget* SettingsWindow::BuildSsccTab() {
  auto* tab = new QWidget(this);
  sender_.prefix = ZeroFilledEntry(*tab, "Gs1Prefix", 46, kPrefixDigits);
  sender_.serial = ZeroFilledEntry(*tab, "Serial", 48, kSerialDigits);
  labelsPerPallet_ = NumberEntry(*tab, "LabelsPerPallet", 49, 0, 255);
  idToAi90_ = new QCheckBox(QStringLiteral("ID til  AI90"), tab);
  idToAi90_->setObjectName(QStringLiteral("IdToAi90"));
  idToAi90_->setProperty("controlNumber", 52);
  singlecode_ = new QCheckBox(QStringLiteral("Singlecode"), tab);
  singlecode_->setObjectName(QStringLiteral("Singlecode"));
  singlecode_->setProperty("controlNumber", 53);
  sender_.pallets = NumberEntry(*tab, "PalletsPerRun", 54, 0, 99999);
  auto* form = new QFormLayout(tab);
  form->addRow(QStringLiteral("GS1 præfiks"), sender_.prefix);
  form->addRow(QStringLiteral("Serienr"), sender_.serial);
  labelsPerPallet_->setToolTip(QStringLiteral("Valg af antal detailetiketter"));
  auto* labelsPrompt = new QLabel(QStringLiteral("Etiketter pr. palle"), tab);
  labelsPrompt->setToolTip(QStringLiteral("Antal detailetiketter"));
  form->addRow(labelsPrompt, labelsPerPallet_);
  form->addRow(QString(), idToAi90_);
  form->addRow(QString(), singlecode_);
  form->addRow(QStringLiteral("Antal paller/serie"), sender_.pallets);
  return tab;
}

QWidget* SettingsWindow::BuildScannerTab() {
  auto* tab = new QWidget(this);
  QStringList ports{QStringLiteral("OFF")};
  for (int port = 1; port <= 8; ++port) ports << QStringLiteral("COM%1").arg(port);
  scannerPort_ = ChoiceList(*tab, "ScannerPort", 56, ports);
  scannerBaud_ = ChoiceList(*tab, "ScannerBaudRate", 59,
                            {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600"});
  auto* data = new QHBoxLayout;
  auto* stop = new QHBoxLayout;
  auto* parity = new QHBoxLayout;
  scannerData_ = RadioChoices(*tab, *data, "ScannerData", 60, {"7", "8"});
  scannerStop_ = RadioChoices(*tab, *stop, "ScannerStop", 63, {"1", "2"});
  scannerParity_ = RadioChoices(*tab, *parity, "ScannerParity", 66, {"None", "Even", "Odd"});
  auto* form = new QFormLayout(tab);
  form->addRow(QStringLiteral("Port:"), scannerPort_);
  form->addRow(QStringLiteral("Baud Rate:"), scannerBaud_);
  form->addRow(QStringLiteral("Data"), data);
  form->addRow(QStringLiteral("Stop"), stop);
  form->addRow(QStringLiteral("Parity"), parity);
  return tab;
}

void SettingsWindow::ShowValues() {
  const fields::ConstImage sender = context().Buffer(firma::kSchema).image;
  const QSignalBlocker storedValues(sender_.pallets);  // not the operator's doing
  sender_.Show(sender);
  serialAtOpen_ = fields::ReadLong(sender, firma::SS);

  const fields::ConstImage image = records::PrinterRecord::Process().image();
  ShowChoice(*type_, ShownText(image, printer::PRINTER));
  topMargin_->setValue(iniValues_.topOffset);
  ShowSpeed(ShownText(image, printer::SPEED));
  contrast_->setValue(fields::ReadShort(image, printer::KT));
  startAdjust_->setValue(fields::ReadShort(image, printer::XS));
  xStart_->setValue(fields::ReadShort(image, printer::XSTART));
  leftMargin_->setValue(iniValues_.leftOffset);
  resistance_->setValue(fields::ReadShort(image, printer::OM));
  stopAdjust_->setValue(fields::ReadShort(image, printer::SP));
  ShowChoice(*dots_, QString::number(fields::ReadLong(image, printer::DOTS)));
  labelsPerPallet_->setValue(fields::ReadByte(image, printer::ANTALDETLAB));
  ShowChoice(*scannerPort_, ShownText(image, printer::PORTSKA));
  ShowChoice(*scannerBaud_, QString::number(fields::ReadLong(image, printer::BAUDSKA)));
  ShowRadio(*scannerData_, ShownText(image, printer::DATASKA));
  ShowRadio(*scannerStop_, ShownText(image, printer::STOPSKA));
  ShowRadio(*scannerParity_, ShownText(image, printer::PARITSKA));

  printerName_->setText(QString::fromStdString(text::ToUtf8(iniValues_.printerName)));
  wait_->setValue(std::clamp(iniValues_.waitSeconds, 0, 9999));
  idToAi90_->setChecked(iniValues_.ai90Flag == 1);
  singlecode_->setChecked(iniValues_.wideNarrow == 1);
}

void SettingsWindow::ApplyPrinterTypeRule() {
  const bool zpl = type_->currentText().startsWith(QStringLiteral("ZPL"));
  for (QWidget* widget : zplAdjustments_) widget->setVisible(zpl);
}

void SettingsWindow::ShowSpeed(const QString& speed) {
  speedValue_ = speed;
  if (speedName_->findText(speed) >= 0) {
    ShowChoice(*speedName_, speed);
    speedRate_->setCurrentIndex(-1);
  } else {
    ShowChoice(*speedRate_, speed);
    speedName_->setCurrentIndex(-1);
  }
}

void SettingsWindow::PublishRunCounts() {
  print::RunCountDefaults::Process().Set(
      {.pallets = sender_.pallets->value(), .labelsPerPallet = labelsPerPallet_->value()}, this);
}

void SettingsWindow::ChoosePrinter() {
  output::QtPrinterChooser chooser(this);
  output::RawPrinter rawPrinter(spooler_ != nullptr ? *spooler_ : output::SystemSpooler(),
                                SystemClock(), &chooser);
  rawPrinter.Init();
  std::string chosen;
  if (rawPrinter.SelectPrinter(settings::kMaxPrinterNameLength + 1, chosen) ==
          output::kPrinterDone &&
      !chosen.empty()) {
    printerName_->setText(QString::fromStdString(text::ToUtf8(chosen)));
  }
}

void SettingsWindow::OpenCatalogue() {
  auto* context = new WindowRecordContext(files_);
  auto* catalogue = new ProductCatalogueWindow(context->context(), printing_);
  context->setParent(catalogue);
  catalogue->setAttribute(Qt::WA_DeleteOnClose);
  catalogue->show();
  std::erase_if(catalogues_, [](const QPointer<QWidget>& window) { return !window; });
  catalogues_.push_back(catalogue);
}

void SettingsWindow::OpenCompanies() {
  CompanyListWindow companies(context(), this);
  companies.exec();
  // The list may have changed the sender record: show it as stored now.
  if (context().ReadFirma().ok()) ShowValues();
}

bool SettingsWindow::TakeControls() {
  if (QLineEdit* refused = sender_.Take(context().Buffer(firma::kSchema).image)) {
    tabs_->setCurrentIndex(0);
    refused->setFocus();
    Notify(this, windowTitle(), QStringLiteral("Teksten indeholder tegn, som ikke kan gemmes."));
    return false;
  }
  const std::optional<std::string> printerName = StoredText(printerName_->text());
  if (!printerName) {
    tabs_->setCurrentIndex(1);
    printerName_->setFocus();
    Notify(this, windowTitle(),
           QStringLiteral("Printerens navn indeholder tegn, som ikke kan gemmes."));
    return false;
  }

  const fields::Image image = records::PrinterRecord::Process().image();
  // The lists hold only texts the record can hold (plain ASCII).
  fields::WriteText(image, printer::PRINTER, type_->currentText().toStdString());
  fields::WriteText(image, printer::SPEED, speedValue_.toStdString());
  fields::WriteShort(image, printer::KT, static_cast<std::int16_t>(contrast_->value()));
  fields::WriteShort(image, printer::XS, static_cast<std::int16_t>(startAdjust_->value()));
  fields::WriteShort(image, printer::XSTART, static_cast<std::int16_t>(xStart_->value()));
  fields::WriteShort(image, printer::OM, static_cast<std::int16_t>(resistance_->value()));
  fields::WriteShort(image, printer::SP, static_cast<std::int16_t>(stopAdjust_->value()));
  fields::WriteLong(image, printer::DOTS, dots_->currentText().toInt());
  fields::WriteByte(image, printer::ANTALDETLAB,
                    static_cast<std::uint8_t>(labelsPerPallet_->value()));
  fields::WriteText(image, printer::PORTSKA, scannerPort_->currentText().toStdString());
  fields::WriteLong(image, printer::BAUDSKA, scannerBaud_->currentText().toInt());
  fields::WriteText(image, printer::DATASKA, ChosenRadio(*scannerData_).toStdString());
  fields::WriteText(image, printer::STOPSKA, ChosenRadio(*scannerStop_).toStdString());
  fields::WriteText(image, printer::PARITSKA, ChosenRadio(*scannerParity_).toStdString());

  iniValues_.printerName = *printerName;
  iniValues_.topOffset = topMargin_->value();
  iniValues_.leftOffset = leftMargin_->value();
  iniValues_.ai90Flag = idToAi90_->isChecked() ? 1 : 0;
  iniValues_.wideNarrow = singlecode_->isChecked() ? 1 : 0;
  iniValues_.waitSeconds = wait_->value();
  return true;
}

bool SettingsWindow::WriteSender() {
  storage::Record& sender = context().Buffer(firma::kSchema);
  if (!WriteCompanyAsked(*this, context(), records::kSenderRecord, sender,
                         ZeroFilledValue(*sender_.serial), serialAtOpen_)) {
    ShowZeroFilled(*sender_.serial, fields::ReadLong(sender.image, firma::SS));
    return false;
  }
  // From now on the stored serial is the one to compare with.
  serialAtOpen_ = fields::ReadLong(sender.image, firma::SS);
  return true;
}

void SettingsWindow::Accept() {
  if (!TakeControls()) return;
  if (!records::SavePrinterRecord(records::PrinterRecord::Process(), files_.errorManager()).ok()) {
    return;
  }
  if (!WriteSender()) return;
  const std::filesystem::path ini = SettingsIniPath();
  const Status written = ini.empty() ? Status(ErrorCode::kPathNotFound, "settings INI file")
                                     : settings::WriteWindowPrinterSettings(ini, iniValues_);
  if (!written.ok()) {
    Notify(this, windowTitle(),
           QStringLiteral("Indstillingerne kunne ikke gemmes i %1:\n%2")
               .arg(QString::fromStdString(settings::CurrentSettingsIniName()),
                    QString::fromStdString(written.ToString())));
    return;
  }
  accept();
}

void SettingsWindow::done(int result) {
  print::RunCountDefaults::Process().Withdraw(this);
  for (const QPointer<QWidget>& catalogue : catalogues_) {
    if (catalogue) catalogue->close();
  }
  catalogues_.clear();
  QDialog::done(result);
}

}  // namespace paltrix::app
