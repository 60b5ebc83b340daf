#pragma once

#include <QDate>
#include <QLineEdit>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "framework/fields/field_types.h"
#include "framework/fields/record_codec.h"

// Entries of the print windows bound to text fields of a record image: the
// record's Windows-1252 text shown as Unicode, and back.
namespace paltrix::app::print {

// A line entry named `objectName` that takes at most `maxLength` characters.
QLineEdit* NewTextEntry(const char* objectName, int maxLength, QWidget* parent);

// The field's text without trailing blanks.
QString FieldText(fields::ConstImage image, const fields::FieldDef& field);

// The entry's text as record text (Windows-1252), or nothing when it holds a
// character that code page cannot hold.
std::optional<std::string> RecordText(const QLineEdit& entry);

// A record day number as a calendar date (invalid for day numbers before
// the calendar's start) and back (nothing for an invalid date).
QDate DateOfDayNumber(std::int32_t dayNumber);
std::optional<std::int32_t> DayNumberOfDate(const QDate& date);

}  // namespace paltrix::app::print
