#include "app/ui/not_built_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace paltrix::app {

NotBuiltWindow::NotBuiltWindow(const QString& title, QWidget* parent) : QDialog(parent) {
  setObjectName("NotBuiltWindow");
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QString::fromUtf8(kNotBuiltText), this);
  text->setObjectName("NotBuiltText");
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace paltrix::app
