#pragma once

#include "framework/fields/field_types.h"
#include "framework/fields/record_codec.h"

// The value that links a child record to its parent, carried from a field of
// one layout to a field of another (relations.h): text to text, number to
// number, and between text and whole numbers where the two layouts differ.
namespace paltrix::records {

// Copies the value of `fromField` in `from` into `toField` in `to`. Returns
// false, leaving `to` untouched, when the target field cannot hold the value
// exactly: a text that is not a whole number (or out of range) for a numeric
// field, a number outside the field's range, or a text longer than the field.
// REQUIRES: neither field is a packed decimal.
bool CopyLinkValue(fields::ConstImage from, const fields::FieldDef& fromField, fields::Image to,
                   const fields::FieldDef& toField);

// True when `field` holds equal values in `a` and `b` as a key compares them:
// numbers by value, text without regard to case or trailing blanks.
bool SameKeyValue(fields::ConstImage a, fields::ConstImage b, const fields::FieldDef& field);

}  // namespace paltrix::records
