#include "app/ui/print/record_entry.h"

#include "framework/fields/date_time.h"
#include "framework/text/windows1252.h"

namespace paltrix::app::print {

QLineEdit* NewTextEntry(const char* objectName, int maxLength, QWidget* parent) {
  auto* entry = new QLineEdit(parent);
  entry->setObjectName(QString::fromLatin1(objectName));
  entry->setMaxLength(maxLength);
  return entry;
}

QString FieldText(fields::ConstImage image, const fields::FieldDef& field) {
  return QString::fromStdString(text::ToUtf8(fields::ReadText(image, field)));
}

std::optional<std::string> RecordText(const QLineEdit& entry) {
  return text::FromUtf8(entry.text().toStdString());
}

QDate DateOfDayNumber(std::int32_t dayNumber) {
  const std::optional<fields::CivilDate> date = fields::CivilFromDayNumber(dayNumber);
  return date ? QDate(date->year, date->month, date->day) : QDate();
}

std::optional<std::int32_t> DayNumberOfDate(const QDate& date) {
  if (!date.isValid()) return std::nullopt;
  return fields::DayNumberFromCivil({date.year(), date.month(), date.day()});
}

}  // namespace paltrix::app::print
