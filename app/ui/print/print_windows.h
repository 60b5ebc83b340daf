#pragma once

#include <QWidget>
#include <cstdint>
#include <string_view>

#include "app/records/record_context.h"
#include "framework/clock.h"
#include "framework/errors/error_manager.h"
#include "output/spooler.h"

// The three ways the product catalogue prints: the print dialog "Print data"
// ("Print (F4)" and "&Vælg"), the mixed-pallet window (label type 2 instead
// of the print dialog) and the direct print of the highlighted product
// ("PRINT", F6).
//
// Each prints the product held in the Produkt buffer of `records` (the
// catalogue loads the highlighted line there first) with the sending company
// (first Firma record) and the process's Printer record, both re-read when
// the print starts; the Printer record is written back before every print.
// The windows run modally on `parent` and return when they have closed; a ZPL
// run goes on a worker thread, so the window stays responsive and shows which
// pallet is being sent, and `records` must not be used by anyone else until
// the call returns. The page formats queue the labels and print the queue as
// A5 pages in the progress window "Udskriver..." (the print dialog and the
// mixed-pallet window with the preview first when "Vis udskrift først" is
// ticked). Labels that did not reach the printer are reported to the
// operator with the printer and the SSCC.
//
// `labelType` is the catalogue's byte: 0 pallet, 1 case, 2 mixed pallet,
// 3 EAN-13 item label (other values print nothing). For label type 2 the
// catalogue opens the mixed-pallet window instead of the print dialog.
//
// REQUIRES: a QApplication exists; called on its thread; `records` and the
// services outlive the call.
namespace paltrix::app::print {

// What the windows print with. The defaults are the program's own; tests
// put in a fixed clock or a spooler of their own.
struct PrintServices {
  const Clock* clock = nullptr;            // nullptr: the system clock
  errors::ErrorManager* errors = nullptr;  // nullptr: the global error manager
  output::Spooler* spooler = nullptr;      // nullptr: the system's spooler
};

// The print dialog. After a print it sends the print-activity report and
// closes when that has completed or failed. Product values typed in the
// dialog serve this print only: the product record is not stored.
void OpenPrintDialog(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                     const PrintServices& services = {});

// The mixed-pallet window: this week in "Ugenr", mix number 1, the caption of
// INI key "NETAI90". Sends no print-activity report.
void OpenMixedPalletWindow(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                           const PrintServices& services = {});

// The direct print: best-before := today + shelf life, the run counts'
// defaults (those of an open settings window, otherwise the Printer and
// Firma records'), then the direct dispatch with `ai90Text`
// (the catalogue's AI90 entry). A small progress window shows the pallets
// while they are sent. Sends no print-activity report.
void PrintDirect(QWidget& parent, records::RecordContext& records, std::uint8_t labelType,
                 std::string_view ai90Text, const PrintServices& services = {});

}  // namespace paltrix::app::print
