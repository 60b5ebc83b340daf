#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <optional>
#include <string>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/fields/record_codec.h"

// Controls of the record forms, bound to record fields by hand: texts are
// Windows-1252 in the records and UTF-8 in the widgets.
namespace paltrix::app {

// A field's text as shown: trailing blanks removed, converted to UTF-8.
QString ShownText(fields::ConstImage image, const fields::FieldDef& field);

// The operator's text as the record holds it; nullopt when Windows-1252
// cannot hold one of its characters.
std::optional<std::string> StoredText(const QString& shown);

// Every widget below gets `objectName` and, when not 0, the window number
// `control` in the property controlNumber.
QLineEdit* TextEntry(QWidget& parent, const char* objectName, int control, int maxLength);
QSpinBox* NumberEntry(QWidget& parent, const char* objectName, int control, int minimum,
                      int maximum);

// An entry of up to `digits` digits, shown with leading zeros once it is
// left ("5790001" becomes "05790001" in an 8-digit entry).
QLineEdit* ZeroFilledEntry(QWidget& parent, const char* objectName, int control, int digits);
void ShowZeroFilled(QLineEdit& entry, std::int64_t value);
std::int32_t ZeroFilledValue(const QLineEdit& entry);

// Buttons of forms and lists; they never take Return from the form's default
// button. The image button shows a standard picture and `toolTip`.
QPushButton* ListButton(QWidget& parent, const QString& text, const char* objectName, int control);
QPushButton* ImageButton(QWidget& parent, QStyle::StandardPixmap image, const char* toolTip,
                         const char* objectName, int control);

// A drop list of fixed choices. Showing a stored value that is none of them
// adds it as the first entry, so that saving an untouched form never changes
// what is stored.
QComboBox* ChoiceList(QWidget& parent, const char* objectName, int control,
                      const QStringList& choices);
void ShowChoice(QComboBox& list, const QString& value);

}  // namespace paltrix::app
