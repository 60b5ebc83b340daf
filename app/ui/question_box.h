#pragma once

#include <QString>
#include <QWidget>

namespace paltrix::app {

// A question with the buttons "&Ja" and "&Nej" ("&Ja" is the default and
// Escape answers "&Nej"); true for "&Ja". Object name "QuestionBox".
bool AskJaNej(QWidget* parent, const QString& title, const QString& text);

// A notice with one button "&OK". Object name "NoticeBox".
void Notify(QWidget* parent, const QString& title, const QString& text);

}  // namespace paltrix::app
