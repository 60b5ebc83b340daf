#pragma once

#include <string>
#include <string_view>

#include "app/labels/label_input.h"

namespace paltrix::labels {

// The print rate as sent: PRI:SPEED without trailing blanks when it is a
// number (optional sign, digits, optional decimal point and digits), else "2"
// (so "NORMAL", "ULTRA HIGH" and an empty speed all give 2). The caller
// stores the result back into the Printer record.
std::string EffectivePrintRate(std::string_view storedSpeed);

// The set-up that opens every label stream: ZPL II mode, direct thermal
// media, tear-off, print rate, darkness, non-continuous media, label home
// (left margin, 0), label top and international character set 0, each as a
// format of its own.
std::string SetupPreamble(const PrinterSetup& setup);

}  // namespace paltrix::labels
