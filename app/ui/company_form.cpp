#include "app/ui/company_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

#include "app/records/firma.h"
#include "app/ui/company_write_question.h"
#include "app/ui/form_controls.h"
#include "app/ui/question_box.h"
#include "framework/errors/message_numbers.h"

namespace paltrix::app {
namespace {

namespace firma = records::firma;

constexpr int kShownLength = 35;

}  // namespace

CompanyForm::CompanyForm(records::RecordContext& context, FormRequest request,
                         storage::RecordNumber number, QWidget* parent)
    : QDialog(parent),
      context_(context),
      request_(request),
      number_(number),
      record_(storage::Record::Blank(firma::kSchema)) {
  setObjectName(QStringLiteral("CompanyForm"));
  setWindowTitle(QStringLiteral("Ny/Redigér Firma"));
  if (request != FormRequest::kInsert) {
    if (Result<storage::KeyedFile*> file = context_.File(firma::kSchema); file.ok()) {
      if (Status status = (*file)->Get(number_, record_); !status.ok()) {
        context_.files().file(firma::kSchema).Report(errors::msg::kRecordRetrievalError, status);
      }
    }
  }

  auto* page = new QWidget(this);
  CompanyControls& c = controls_;
  c.name = TextEntry(*page, "Name", 0, kShownLength);
  c.address1 = TextEntry(*page, "Address1", 0, kShownLength);
  c.address2 = TextEntry(*page, "Address2", 0, kShownLength);
  c.postCode = NumberEntry(*page, "PostCode", 0, 0, std::numeric_limits<std::int16_t>::max());
  c.town = TextEntry(*page, "Town", 0, firma::BYNAVN.size);
  c.phone = TextEntry(*page, "Phone", 0, firma::TELEFON.size);
  c.fax = TextEntry(*page, "Fax", 0, firma::FAX.size);
  c.prefix = ZeroFilledEntry(*page, "Gs1Prefix", 0, 8);
  c.serial = ZeroFilledEntry(*page, "Serial", 0, 9);
  c.pallets = NumberEntry(*page, "PalletsPerRun", 0, 0, 99999);
  auto* form = new QFormLayout(page);
  form->addRow(QStringLiteral("Navn:"), c.name);
  form->addRow(QStringLiteral("Adresse:"), c.address1);
  form->addRow(QString(), c.address2);
  form->addRow(QStringLiteral("Post Nr:"), c.postCode);
  form->addRow(QStringLiteral("By:"), c.town);
  form->addRow(QStringLiteral("Tlf:"), c.phone);
  form->addRow(QStringLiteral("Fax:"), c.fax);
  form->addRow(QStringLiteral("Virksomhedspræfiks:"), c.prefix);
  form->addRow(QStringLiteral("Serienr:"), c.serial);
  form->addRow(QStringLiteral("Antal paller/serie:"), c.pallets);
  auto* tabs = new QTabWidget(this);
  tabs->addTab(page, QStringLiteral("Firma oplysninger"));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setProperty("controlNumber", 22);
  ok->setDefault(true);
  ok->setVisible(request != FormRequest::kView);
  auto* cancel = new QPushButton(QStringLiteral("Fortryd"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  cancel->setProperty("controlNumber", 23);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &CompanyForm::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  controls_.Show(record_.image);
  serialAtOpen_ = fields::ReadLong(record_.image, firma::SS);
  const bool editable = request == FormRequest::kInsert || request == FormRequest::kChange;
  for (QLineEdit* entry :
       {c.name, c.address1, c.address2, c.town, c.phone, c.fax, c.prefix, c.serial}) {
    entry->setReadOnly(!editable);
  }
  c.postCode->setReadOnly(!editable);
  c.pallets->setReadOnly(!editable);
}

bool CompanyForm::TakeControls() {
  if (QLineEdit* refused = controls_.Take(record_.image)) {
    refused->setFocus();
    Notify(this, windowTitle(), QStringLiteral("Teksten indeholder tegn, som ikke kan gemmes."));
    return false;
  }
  return true;
}

void CompanyForm::Save() {
  switch (request_) {
    case FormRequest::kView:
      return;
    case FormRequest::kDelete:
      if (context_.files().errorManager().Throw(errors::msg::kConfirmDelete) != 0) return;
      if (!context_.Delete(firma::kSchema, number_).ok()) return;
      break;
    case FormRequest::kChange:
      if (!TakeControls()) return;
      if (!WriteCompanyAsked(*this, context_, number_, record_, ZeroFilledValue(*controls_.serial),
                             serialAtOpen_)) {
        ShowZeroFilled(*controls_.serial, fields::ReadLong(record_.image, firma::SS));
        return;
      }
      break;
    case FormRequest::kInsert: {
      if (!TakeControls()) return;
      Result<storage::KeyedFile*> file = context_.File(firma::kSchema);
      if (!file.ok()) return;
      Result<storage::RecordNumber> added = (*file)->Add(record_);
      if (!added.ok()) {
        context_.files()
            .file(firma::kSchema)
            .Report(errors::msg::kRecordInsertError, added.status());
        return;
      }
      number_ = *added;
      break;
    }
  }
  accept();
}

}  // namespace paltrix::app
