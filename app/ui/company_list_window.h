#pragma once

#include <QDialog>
#include <vector>

#include "app/records/record_context.h"
#include "app/ui/form_request.h"
#include "framework/storage/keyed_file.h"

class QTableWidget;

namespace paltrix::app {

// "Alle firmaer": every Firma record in file order, one column "Firmaer"
// [CompanyTable], with insert [InsertButton, key Insert], "Redigér"
// [EditButton, Return], "Slet" [DeleteButton, Delete] and "Luk"
// [CloseButton, Escape]. Insert, change and delete open the company form
// "Ny/Redigér Firma". Runs on the record context of the window that opens it.
class CompanyListWindow final : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `context` outlives the window.
  CompanyListWindow(records::RecordContext& context, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Reload(storage::RecordNumber highlight);
  void OpenForm(FormRequest request);

  records::RecordContext& context_;
  QTableWidget* table_ = nullptr;
  std::vector<storage::RecordNumber> numbers_;  // per row
};

}  // namespace paltrix::app
