#include "app/ui/question_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace paltrix::app {

bool AskJaNej(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("QuestionBox"));
  QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&Nej"), QMessageBox::NoRole);
  yes->setObjectName(QStringLiteral("JaButton"));
  no->setObjectName(QStringLiteral("NejButton"));
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void Notify(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("NoticeBox"));
  box.setDefaultButton(box.addButton(QStringLiteral("&OK"), QMessageBox::AcceptRole));
  box.exec();
}

}  // namespace paltrix::app
