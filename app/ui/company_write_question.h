#pragma once

#include <QWidget>
#include <cstdint>

#include "app/records/record_context.h"

namespace paltrix::app {

// Writes company record `number` (records::kSenderRecord: the sender) from
// `record` by the company write rule, as the settings window and the company
// form do: the serial is written only when the operator changed it
// (`typedSerial` differs from `serialAtOpen`); a serial below the stored one
// only after the operator has confirmed it ("&Ja"). When the operator
// declines, nothing is written and `record` gets the stored serial, so the
// form can show it. True when written; failures are reported by the record
// context.
bool WriteCompanyAsked(QWidget& form, records::RecordContext& context, storage::RecordNumber number,
                       storage::Record& record, std::int32_t typedSerial,
                       std::int32_t serialAtOpen);

}  // namespace paltrix::app
