#include "app/ui/form_controls.h"

#include <QRegularExpressionValidator>

#include "framework/text/windows1252.h"

namespace paltrix::app {
namespace {

template <typename Widget>
Widget* Numbered(Widget* widget, const char* objectName, int control) {
  widget->setObjectName(QString::fromUtf8(objectName));
  if (control != 0) widget->setProperty("controlNumber", control);
  return widget;
}

}  // namespace

QString ShownText(fields::ConstImage image, const fields::FieldDef& field) {
  return QString::fromStdString(text::ToUtf8(text::TrimRight(fields::ReadText(image, field))));
}

std::optional<std::string> StoredText(const QString& shown) {
  return text::FromUtf8(shown.toStdString());
}

QLineEdit* TextEntry(QWidget& parent, const char* objectName, int control, int maxLength) {
  auto* entry = Numbered(new QLineEdit(&parent), objectName, control);
  entry->setMaxLength(maxLength);
  return entry;
}

QSpinBox* NumberEntry(QWidget& parent, const char* objectName, int control, int minimum,
                      int maximum) {
  auto* entry = Numbered(new QSpinBox(&parent), objectName, control);
  entry->setRange(minimum, maximum);
  return entry;
}

QLineEdit* ZeroFilledEntry(QWidget& parent, const char* objectName, int control, int digits) {
  QLineEdit* entry = TextEntry(parent, objectName, control, digits);
  entry->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), entry));
  QObject::connect(entry, &QLineEdit::editingFinished, entry,
                   [entry] { ShowZeroFilled(*entry, ZeroFilledValue(*entry)); });
  return entry;
}

void ShowZeroFilled(QLineEdit& entry, std::int64_t value) {
  entry.setText(QStringLiteral("%1").arg(value, entry.maxLength(), 10, QLatin1Char('0')));
}

std::int32_t ZeroFilledValue(const QLineEdit& entry) {
  // The validator lets through digits only, at most 9 of them.
  return entry.text().toInt();
}

QPushButton* ListButton(QWidget& parent, const QString& text, const char* objectName, int control) {
  auto* button = Numbered(new QPushButton(text, &parent), objectName, control);
  button->setAutoDefault(false);
  return button;
}

QPushButton* ImageButton(QWidget& parent, QStyle::StandardPixmap image, const char* toolTip,
                         const char* objectName, int control) {
  QPushButton* button = ListButton(parent, QString(), objectName, control);
  button->setIcon(parent.style()->standardIcon(image));
  button->setToolTip(QString::fromUtf8(toolTip));
  return button;
}

QComboBox* ChoiceList(QWidget& parent, const char* objectName, int control,
                      const QStringList& choices) {
  auto* list = Numbered(new QComboBox(&parent), objectName, control);
  list->addItems(choices);
  return list;
}

void ShowChoice(QComboBox& list, const QString& value) {
  int index = list.findText(value);
  if (index < 0) {
    list.insertItem(0, value);
    index = 0;
  }
  list.setCurrentIndex(index);
}

}  // namespace paltrix::app
