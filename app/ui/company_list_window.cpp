#include "app/ui/company_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/records/firma.h"
#include "app/ui/company_form.h"
#include "app/ui/form_controls.h"

namespace paltrix::app {
namespace {

namespace firma = records::firma;

}  // namespace

CompanyListWindow::CompanyListWindow(records::RecordContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName(QStringLiteral("CompanyList"));
  setWindowTitle(QStringLiteral("Alle firmaer"));
  table_ = new QTableWidget(0, 1, this);
  table_->setObjectName(QStringLiteral("CompanyTable"));
  table_->setProperty("controlNumber", 1);
  table_->setHorizontalHeaderLabels({QStringLiteral("Firmaer")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);
  table_->setMinimumWidth(table_->fontMetrics().averageCharWidth() * 35 + 40);
  table_->installEventFilter(this);

  QPushButton* insert =
      ImageButton(*this, QStyle::SP_FileDialogNewFolder, "Indsæt", "InsertButton", 2);
  QPushButton* edit = ListButton(*this, QStringLiteral("Redigér"), "EditButton", 3);
  QPushButton* remove = ListButton(*this, QStringLiteral("Slet"), "DeleteButton", 4);
  QPushButton* close = ListButton(*this, QStringLiteral("Luk"), "CloseButton", 5);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {insert, edit, remove}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);

  connect(insert, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kInsert); });
  connect(edit, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kChange); });
  connect(remove, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kDelete); });
  connect(table_, &QTableWidget::cellDoubleClicked, this,
          [this] { OpenForm(FormRequest::kChange); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  Reload(0);
}

void CompanyListWindow::Reload(storage::RecordNumber highlight) {
  table_->setRowCount(0);
  numbers_.clear();
  Result<storage::KeyedFile*> file = context_.File(firma::kSchema);
  if (!file.ok()) return;
  (*file)->SetPhysicalOrder();
  storage::Record company;
  int highlighted = 0;
  while ((*file)->Next(company).ok()) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(ShownText(company.image, firma::NAVN)));
    numbers_.push_back((*file)->position());
    if (numbers_.back() == highlight) highlighted = row;
  }
  if (table_->rowCount() > 0) table_->setCurrentCell(highlighted, 0);
}

void CompanyListWindow::OpenForm(FormRequest request) {
  const int row = table_->currentRow();
  if (request != FormRequest::kInsert && (row < 0 || row >= static_cast<int>(numbers_.size()))) {
    return;
  }
  const storage::RecordNumber number =
      request == FormRequest::kInsert ? 0 : numbers_[static_cast<std::size_t>(row)];
  CompanyForm form(context_, request, number, this);
  form.exec();
  Reload(form.savedNumber());
}

bool CompanyListWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    if (const std::optional<FormRequest> request =
            FormRequestForKey(static_cast<QKeyEvent*>(event)->key())) {
      OpenForm(*request);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace paltrix::app
