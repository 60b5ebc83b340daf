#include "output/ui/printer_selection_dialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace paltrix::output {

PrinterSelectionDialog::PrinterSelectionDialog(const PrinterList& printers,
                                               std::size_t preselectedRow, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)), buttons_(new QDialogButtonBox(this)) {
  setObjectName(QStringLiteral("EnumPtr"));
  setWindowTitle(QStringLiteral("Vælg Printer"));
  setFont(QFont(QStringLiteral("Arial")));

  list_->setObjectName(QStringLiteral("printerList"));
  list_->setColumnCount(1);
  list_->setHeaderLabels({QStringLiteral("Show Name")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const PrinterListRow& printer : printers) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::fromUtf8(printer.SHOWNAME.data(),
                                       static_cast<qsizetype>(printer.SHOWNAME.size())));
  }
  if (preselectedRow < printers.size()) {
    list_->setCurrentItem(list_->topLevelItem(static_cast<int>(preselectedRow)));
  }

  QPushButton* ok = buttons_->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  QPushButton* cancel =
      buttons_->addButton(QStringLiteral("Annuller"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancelButton"));

  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons_);
  resize(480, 320);
  list_->setFocus();
}

void PrinterSelectionDialog::accept() {
  const QModelIndex current = list_->currentIndex();
  if (!current.isValid()) return;  // nothing to confirm yet
  chosenRow_ = static_cast<std::size_t>(current.row());
  QDialog::accept();
}

}  // namespace paltrix::output
