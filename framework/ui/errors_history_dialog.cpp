#include "framework/ui/errors_history_dialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace paltrix::ui {
namespace {

struct ButtonText {
  int bit;
  const char* text;
};

// Highest bit first: the order in which the buttons stand.
constexpr ButtonText kButtons[] = {
    {errors::kButtonHelp, "&Help"},     {errors::kButtonCancel, "&Cancel"},
    {errors::kButtonIgnore, "&Ignore"}, {errors::kButtonRetry, "&Retry"},
    {errors::kButtonAbort, "&Abort"},   {errors::kButtonNo, "&No"},
    {errors::kButtonYes, "&Yes"},       {errors::kButtonOk, "O&k"},
};

// The message column is 255 dialog units wide (a quarter of an average
// character each).
constexpr int kMessageColumnDialogUnits = 255;

}  // namespace

ErrorsHistoryDialog::ErrorsHistoryDialog(std::string_view title,
                                         std::span<const errors::HistoryEntry> entries, int buttons,
                                         int defaultButton, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)), defaultButton_(defaultButton) {
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));

  list_->setObjectName("historyList");
  list_->setColumnCount(2);
  list_->setHeaderLabels({QStringLiteral("Message"), QStringLiteral("Category")});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setColumnWidth(0, list_->fontMetrics().averageCharWidth() * kMessageColumnDialogUnits / 4);
  for (const errors::HistoryEntry& entry : entries) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::fromStdString(entry.text));
    item->setText(1, QString::fromStdString(entry.category));
  }

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  QPushButton* focused = nullptr;
  for (const ButtonText& button : kButtons) {
    if ((buttons & button.bit) == 0) continue;
    auto* push = new QPushButton(QString::fromLatin1(button.text), this);
    push->setObjectName(QStringLiteral("button%1").arg(button.bit));
    push->setAutoDefault(false);
    const int bit = button.bit;
    connect(push, &QPushButton::clicked, this, [this, bit] { done(bit); });
    if (bit == defaultButton) {
      push->setDefault(true);
      focused = push;
    }
    buttonRow->addWidget(push);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttonRow);
  resize(list_->columnWidth(0) + 160, 300);

  if (focused != nullptr) {
    setFocusProxy(focused);
    focused->setFocus();
  }
}

void ErrorsHistoryDialog::reject() {
  done(defaultButton_);
}

}  // namespace paltrix::ui
