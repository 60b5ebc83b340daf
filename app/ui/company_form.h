#pragma once

#include <QDialog>

#include "app/records/record_context.h"
#include "app/ui/company_controls.h"
#include "app/ui/form_request.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::app {

// "Ny/Redigér Firma", one tab "Firma oplysninger": "Navn:" [Name], "Adresse:"
// [Address1, Address2], "Post Nr:" [PostCode], "By:" [Town], "Tlf:" [Phone],
// "Fax:" [Fax], "Virksomhedspræfiks:" [Gs1Prefix, 8 digits with leading
// zeros], "Serienr:" [Serial, 9 digits], "Antal paller/serie:"
// [PalletsPerRun], OK [OkButton] and cancel [CancelButton].
//
// Insert adds a company; change writes it by the company write rule (the
// serial only when the operator changed it, a lower one only after a "&Ja");
// delete asks the error manager's confirmation first. Failures are reported
// and the form stays open.
class CompanyForm final : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `context` outlives the form; `number` names an existing
  // record unless `request` is kInsert.
  CompanyForm(records::RecordContext& context, FormRequest request, storage::RecordNumber number,
              QWidget* parent = nullptr);

  storage::RecordNumber savedNumber() const { return number_; }

 private:
  void Save();
  bool TakeControls();

  records::RecordContext& context_;
  FormRequest request_;
  storage::RecordNumber number_;
  storage::Record record_;
  std::int32_t serialAtOpen_ = 0;
  CompanyControls controls_;
};

}  // namespace paltrix::app
