#pragma once

#include <QDialog>

#include "app/records/record_context.h"
#include "app/ui/form_request.h"
#include "framework/storage/keyed_file.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace paltrix::app {

// The product form "Ret/Opret", titled by its request: "Nyt produkt", "Ret
// produkt", "Slet produkt", "View Record".
//
// Fields in tab order [object names]: "Produkt ID" [ProductId, 12
// characters], "Produkt" [ProductName, 30], "Beskrivelse" [Description, 30],
// "GTIN" [Gtin, digits only, up to 18], "Holdbarhedsdage" [ShelfLifeDays],
// "Ordre nr." [OrderNumber, 10 characters, 5 while the order number goes
// into the barcode], "Antal kolli" [CountPerPallet, 0..9999], OK [OkButton],
// cancel [CancelButton], the company list [CompanyList] with the chosen
// company's name beside it [CompanyName] (shown only, never stored), and
// "Ordre nr. i stregkode. (Kun op til 5 cifre)" [OrderInBarcode].
//
// A new product with an empty ID is proposed the ID after the highest one
// (catalogue/next_product_id.h). When the GTIN entry is left after a change
// (or with Return), the GTIN check runs: a length other than 12, 13 or 14 is
// told ("GTIN ikke udfyldt korrekt!") and left; a wrong or missing check
// digit is offered its correction ("Kontrolciffer forkert!|Ret automatisk?",
// titled by the kind of number, "&Ja"/"&Nej").
//
// OK stores through the record context: insert adds (a second product with
// the same ID, whatever the letter case, is refused by the ID key); change
// rewrites and makes the related records follow a changed ID; delete asks
// the error manager's confirmation first. Failures are reported by the error
// manager and the form stays open.
class ProductForm final : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `context` outlives the form; `number` names an existing
  // record unless `request` is kInsert.
  ProductForm(records::RecordContext& context, FormRequest request, storage::RecordNumber number,
              QWidget* parent = nullptr);

  // The record number of the product after a completed insert or change.
  storage::RecordNumber savedNumber() const { return number_; }
  const storage::Record& record() const { return record_; }

 private:
  void BuildControls();
  void ShowRecord();
  void ProposeNextId();
  void LoadCompanies();
  void CheckGtin();
  void ApplyOrderNumberWidth();
  // Copies the controls into record_; false (after telling the operator)
  // when a text cannot be stored.
  bool TakeControls();
  void Save();

  records::RecordContext& context_;
  FormRequest request_;
  storage::RecordNumber number_;
  storage::Record record_;
  bool checkingGtin_ = false;
  QLineEdit* id_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* description_ = nullptr;
  QLineEdit* gtin_ = nullptr;
  QSpinBox* shelfLife_ = nullptr;
  QLineEdit* orderNumber_ = nullptr;
  QSpinBox* count_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* companyName_ = nullptr;
  QComboBox* companies_ = nullptr;
  QCheckBox* orderInBarcode_ = nullptr;
};

}  // namespace paltrix::app
