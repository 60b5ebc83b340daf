#pragma once

#include <QDialog>
#include <QString>

namespace paltrix::app {

inline constexpr const char* kNotBuiltText = "Denne del af programmet er endnu ikke bygget.";

// A small window that tells the operator that a part of the program is not
// built yet, with an OK button. Object name "NotBuiltWindow".
class NotBuiltWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit NotBuiltWindow(const QString& title, QWidget* parent = nullptr);
};

}  // namespace paltrix::app
