#include "app/ui/product_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "app/catalogue/gtin_check.h"
#include "app/catalogue/next_product_id.h"
#include "app/records/firma.h"
#include "app/records/produkt.h"
#include "app/ui/form_controls.h"
#include "app/ui/question_box.h"
#include "framework/errors/message_numbers.h"
#include "framework/fields/record_codec.h"
#include "framework/text/windows1252.h"

namespace paltrix::app {
namespace {

namespace produkt = records::produkt;

constexpr int kIdLength = 12;
constexpr int kNameLength = 30;
constexpr int kDescriptionLength = 30;
constexpr int kGtinDigits = 18;
constexpr int kOrderNumberLength = 10;
constexpr int kBarcodeOrderNumberLength = 5;
constexpr int kMaxCountPerPallet = 9999;
constexpr int kCompanyNameLength = 35;

const char* Title(FormRequest request) {
  switch (request) {
    case FormRequest::kInsert:
      return "Nyt produkt";
    case FormRequest::kChange:
      return "Ret produkt";
    case FormRequest::kDelete:
      return "Slet produkt";
    case FormRequest::kView:
      break;
  }
  return "View Record";
}

}  // namespace

ProductForm::ProductForm(records::RecordContext& context, FormRequest request,
                         storage::RecordNumber number, QWidget* parent)
    : QDialog(parent),
      context_(context),
      request_(request),
      number_(number),
      record_(storage::Record::Blank(produkt::kSchema)) {
  setObjectName(QStringLiteral("ProductForm"));
  setWindowTitle(QString::fromUtf8(Title(request)));
  BuildControls();
  if (request != FormRequest::kInsert) {
    Result<storage::KeyedFile*> file = context_.File(produkt::kSchema);
    if (file.ok()) {
      if (Status status = (*file)->Get(number_, record_); !status.ok()) {
        context_.files().file(produkt::kSchema).Report(errors::msg::kRecordRetrievalError, status);
      }
    }
  } else if (fields::ReadText(record_.image, produkt::PRODUKTID).empty()) {
    ProposeNextId();
  }
  LoadCompanies();
  ShowRecord();
}

void ProductForm::BuildControls() {
  id_ = TextEntry(*this, "ProductId", 0, kIdLength);
  name_ = TextEntry(*this, "ProductName", 0, kNameLength);
  description_ = TextEntry(*this, "Description", 0, kDescriptionLength);
  gtin_ = TextEntry(*this, "Gtin", 0, kGtinDigits);
  gtin_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9 ]{0,%1}").arg(kGtinDigits)), gtin_));
  shelfLife_ = NumberEntry(*this, "ShelfLifeDays", 0, std::numeric_limits<std::int16_t>::min(),
                           std::numeric_limits<std::int16_t>::max());
  orderNumber_ = TextEntry(*this, "OrderNumber", 0, kOrderNumberLength);
  count_ = NumberEntry(*this, "CountPerPallet", 0, 0, kMaxCountPerPallet);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Fortryd"), this);
  cancel_->setObjectName(QStringLiteral("CancelButton"));
  companyName_ = new QLabel(this);
  companyName_->setObjectName(QStringLiteral("CompanyName"));
  companyName_->setMinimumWidth(fontMetrics().averageCharWidth() * kCompanyNameLength);
  companies_ = new QComboBox(this);
  companies_->setObjectName(QStringLiteral("CompanyList"));
  orderInBarcode_ =
      new QCheckBox(QStringLiteral("Ordre nr. i stregkode. (Kun op til 5 cifre)"), this);
  orderInBarcode_->setObjectName(QStringLiteral("OrderInBarcode"));

  auto* fieldsLayout = new QFormLayout;
  fieldsLayout->addRow(QStringLiteral("Produkt ID"), id_);
  fieldsLayout->addRow(QStringLiteral("Produkt"), name_);
  fieldsLayout->addRow(QStringLiteral("Beskrivelse"), description_);
  fieldsLayout->addRow(QStringLiteral("GTIN"), gtin_);
  fieldsLayout->addRow(QStringLiteral("Holdbarhedsdage"), shelfLife_);
  fieldsLayout->addRow(QStringLiteral("Ordre nr."), orderNumber_);
  fieldsLayout->addRow(QString(), orderInBarcode_);
  fieldsLayout->addRow(QStringLiteral("Antal kolli"), count_);
  auto* companyRow = new QHBoxLayout;
  companyRow->addWidget(companies_);
  companyRow->addWidget(companyName_, 1);
  fieldsLayout->addRow(QStringLiteral("Firma"), companyRow);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fieldsLayout);
  layout->addLayout(buttons);

  // Window order, which the layout does not follow for the last controls.
  QWidget* order[] = {id_,    name_, description_, gtin_,      shelfLife_,     orderNumber_,
                      count_, ok_,   cancel_,      companies_, orderInBarcode_};
  constexpr int kControlNumbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 16, 18, 19};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    order[i]->setProperty("controlNumber", kControlNumbers[i]);
    if (i > 0) setTabOrder(order[i - 1], order[i]);
  }
  companyName_->setProperty("controlNumber", 17);

  connect(gtin_, &QLineEdit::editingFinished, this, &ProductForm::CheckGtin);
  connect(orderNumber_, &QLineEdit::textChanged, this, &ProductForm::ApplyOrderNumberWidth);
  connect(orderInBarcode_, &QCheckBox::toggled, this, &ProductForm::ApplyOrderNumberWidth);
  connect(companies_, &QComboBox::currentTextChanged, companyName_, &QLabel::setText);
  connect(ok_, &QPushButton::clicked, this, &ProductForm::Save);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  const bool editable = request_ == FormRequest::kInsert || request_ == FormRequest::kChange;
  for (QLineEdit* entry : {id_, name_, description_, gtin_, orderNumber_}) {
    entry->setReadOnly(!editable);
  }
  shelfLife_->setReadOnly(!editable);
  count_->setReadOnly(!editable);
  orderInBarcode_->setEnabled(editable);
  ok_->setVisible(request_ != FormRequest::kView);
}

void ProductForm::ProposeNextId() {
  Result<storage::KeyedFile*> file = context_.File(produkt::kSchema);
  if (!file.ok()) return;
  // The highest ID is the last record in ID order.
  storage::Record highest = storage::Record::Blank(produkt::kSchema);
  std::string highestId;
  if ((*file)->SetKeyOrderFromEnd(produkt::kIDKey).ok() && (*file)->Previous(highest).ok()) {
    highestId = fields::ReadText(highest.image, produkt::PRODUKTID);
  }
  record_ = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(record_.image, produkt::PRODUKTID, catalogue::NextProductId(highestId));
}

void ProductForm::LoadCompanies() {
  Result<storage::KeyedFile*> file = context_.File(records::firma::kSchema);
  if (!file.ok()) return;
  (*file)->SetPhysicalOrder();
  storage::Record company;
  while ((*file)->Next(company).ok()) {
    companies_->addItem(ShownText(company.image, records::firma::NAVN));
  }
}

void ProductForm::ShowRecord() {
  const fields::ConstImage image = record_.image;
  id_->setText(ShownText(image, produkt::PRODUKTID));
  name_->setText(ShownText(image, produkt::PRODUKTNAVN));
  description_->setText(ShownText(image, produkt::ANTALPRKOLLIE));
  gtin_->setText(ShownText(image, produkt::EANNR));
  shelfLife_->setValue(fields::ReadShort(image, produkt::HOLDBARHEDSDAGE));
  const bool inBarcode = fields::ReadByte(image, produkt::BRUGORDREID) == 1;
  // An order number stored longer than the barcode takes is shown whole: the
  // width rule limits typing, it never cuts what is stored.
  const QString orderNumber = ShownText(image, produkt::NAVN2);
  orderNumber_->setMaxLength(
      inBarcode ? std::max<int>(kBarcodeOrderNumberLength, static_cast<int>(orderNumber.size()))
                : kOrderNumberLength);
  orderNumber_->setText(orderNumber);
  orderInBarcode_->setChecked(inBarcode);
  count_->setValue(
      std::clamp(fields::ReadLong(image, produkt::ANTALPRPALLE), 0, kMaxCountPerPallet));
  ApplyOrderNumberWidth();
}

void ProductForm::ApplyOrderNumberWidth() {
  if (orderInBarcode_->isChecked()) {
    if (orderNumber_->text().size() <= kBarcodeOrderNumberLength) {
      orderNumber_->setMaxLength(kBarcodeOrderNumberLength);
    }
    orderInBarcode_->setEnabled(request_ == FormRequest::kInsert ||
                                request_ == FormRequest::kChange);
    return;
  }
  orderNumber_->setMaxLength(kOrderNumberLength);
  orderInBarcode_->setEnabled(
      (request_ == FormRequest::kInsert || request_ == FormRequest::kChange) &&
      orderNumber_->text().size() <= kBarcodeOrderNumberLength);
}

void ProductForm::CheckGtin() {
  if (checkingGtin_ || gtin_->isReadOnly()) return;
  checkingGtin_ = true;
  const catalogue::GtinCheck check = catalogue::CheckGtin(gtin_->text().toStdString());
  gtin_->setText(QString::fromStdString(check.entered));
  if (!check.lengthAccepted()) {
    Notify(this, QStringLiteral("GTIN"), QString::fromUtf8(catalogue::kGtinWrongLength));
  } else if (check.offersCorrection() &&
             AskJaNej(this, QString::fromStdString(check.kind),
                      QString::fromUtf8(catalogue::kGtinCheckDigitQuestion))) {
    gtin_->setText(QString::fromStdString(*check.proposed));
  }
  checkingGtin_ = false;
}

bool ProductForm::TakeControls() {
  struct TextControl {
    QLineEdit* entry;
    const char* prompt;
    const fields::FieldDef* field;
  };
  const TextControl texts[] = {
      {id_, "Produkt ID", &produkt::PRODUKTID},
      {name_, "Produkt", &produkt::PRODUKTNAVN},
      {description_, "Beskrivelse", &produkt::ANTALPRKOLLIE},
      {gtin_, "GTIN", &produkt::EANNR},
      {orderNumber_, "Ordre nr.", &produkt::NAVN2},
  };
  for (const TextControl& control : texts) {
    const std::optional<std::string> stored = StoredText(control.entry->text());
    if (!stored) {
      Notify(this, windowTitle(),
             QStringLiteral("\"%1\" indeholder tegn, som ikke kan gemmes.")
                 .arg(QString::fromUtf8(control.prompt)));
      control.entry->setFocus();
      return false;
    }
    fields::WriteText(record_.image, *control.field, *stored);
  }
  fields::WriteShort(record_.image, produkt::HOLDBARHEDSDAGE,
                     static_cast<std::int16_t>(shelfLife_->value()));
  fields::WriteLong(record_.image, produkt::ANTALPRPALLE, count_->value());
  fields::WriteByte(record_.image, produkt::BRUGORDREID, orderInBarcode_->isChecked() ? 1 : 0);
  return true;
}

void ProductForm::Save() {
  const records::FileManager& manager = context_.files().file(produkt::kSchema);
  switch (request_) {
    case FormRequest::kView:
      return;
    case FormRequest::kDelete:
      if (manager.errorManager().Throw(errors::msg::kConfirmDelete) != 0) return;
      if (!context_.Delete(produkt::kSchema, number_).ok()) return;
      break;
    case FormRequest::kChange:
      if (!TakeControls()) return;
      if (!context_.Update(produkt::kSchema, number_, record_).ok()) return;
      break;
    case FormRequest::kInsert: {
      if (!TakeControls()) return;
      Result<storage::KeyedFile*> file = context_.File(produkt::kSchema);
      if (!file.ok()) return;
      Result<storage::RecordNumber> added = (*file)->Add(record_);
      if (!added.ok()) {
        manager.Report(added.status().code() == ErrorCode::kDuplicateKey
                           ? errors::msg::kDuplicateKey
                           : errors::msg::kRecordInsertError,
                       added.status());
        id_->setFocus();
        return;
      }
      number_ = *added;
      break;
    }
  }
  context_.Buffer(produkt::kSchema) = record_;
  accept();
}

}  // namespace paltrix::app
