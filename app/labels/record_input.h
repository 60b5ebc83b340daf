#pragma once

#include <cstdint>

#include "app/labels/label_input.h"
#include "app/labels/label_procedures.h"
#include "app/settings/printer_settings.h"
#include "framework/fields/record_codec.h"

// The adapter between the record buffers and settings the program keeps and
// the label procedures' input.
namespace paltrix::labels {

// The two process-wide run counts the print windows set.
struct RunCounts {
  std::int32_t pallets = 0;
  std::int32_t labelsPerPallet = 0;
};

// The input of a label run from the Produkt image as edited in the print
// window, the Firma image (the sending company) and the Printer image, the
// printer keys of the settings INI file, the run counts and today's day
// number. REQUIRES: each image is at least its layout's record length.
LabelInput LabelInputFromRecords(fields::ConstImage produkt, fields::ConstImage firma,
                                 fields::ConstImage printer,
                                 const settings::PrinterSettings& printerSettings, RunCounts counts,
                                 std::int32_t today);

// Stores what a run sets in the record buffers: PRO:HOLDBARHEDSDAGE (the
// best-before minus today) and PRI:SPEED (a print rate that is not a number
// becomes "2"). REQUIRES: as above.
void StoreRunResults(const LabelRunReport& report, fields::Image produkt, fields::Image printer);

}  // namespace paltrix::labels
