#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/gs1/sscc_allocator.h"
#include "app/labels/label_input.h"
#include "app/labels/label_output.h"
#include "framework/status.h"

// The ZPL label procedures. Each one runs the same frame: the whole run is
// first built once with a stand-in SSCC, so that data which cannot be printed
// refuses the run before anything is printed or any SSCC is spent; then, for
// every pallet, the next SSCC is allocated (durably, before its stream
// leaves), the stream is built, copied to the clipboard by the members that
// do so, and sent; a failed send is recorded and the run goes on with the
// next pallet.
namespace paltrix::labels {

// One stream handed to the printer.
struct PrintedStream {
  std::string sscc;  // empty for labels without an SSCC
  std::uint8_t printResult = kPrintFailed;
  bool sent() const { return printResult == kPrintSent; }
};

// Follows a run while it goes: the command line reports each SSCC the moment
// its stream has left, a window can show progress, and either can end the
// run between pallets.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // Right after PrintRaw returned for a stream (the pallet in hand).
  virtual void StreamHandedOver(const PrintedStream& stream) = 0;
  // Asked before each pallet after the first; true ends the run there, with
  // LabelRunReport::stopped set. No SSCC is allocated for a pallet not begun.
  virtual bool StopRequested() = 0;
};

struct LabelServices {
  gs1::SsccAllocator& sscc;
  LabelOutput& output;
  Sleeper& sleeper;
  ClipboardSink* clipboard = nullptr;  // none without a desktop
  RunObserver* observer = nullptr;
};

struct LabelRunReport {
  // OK; or why the run was refused (nothing printed, no SSCC spent: data
  // that cannot be printed, or no pallets) or stopped early (the streams
  // before the failure are listed).
  Status status;
  std::string printerName;
  std::vector<PrintedStream> streams;  // in the order sent
  // The observer ended the run before its last pallet.
  bool stopped = false;
  // Values the procedure sets in the record buffers: PRI:SPEED as sent and
  // PRO:HOLDBARHEDSDAGE (best-before minus today).
  std::string printRate;
  std::int16_t shelfLifeDays = 0;

  // True when the run was neither refused nor stopped and every stream
  // reached the printer.
  bool AllSent() const;
};

// 4-inch pallet label, 8 dots/mm; copies to the clipboard.
LabelRunReport PrintPalletLabel4(const LabelInput& input, const LabelServices& services);
// 4-inch pallet label, 12 dots/mm.
LabelRunReport PrintPalletLabel4Fine(const LabelInput& input, const LabelServices& services);
// The older 12 dots/mm 4-inch pallet layout.
LabelRunReport PrintPalletLabel4Compact(const LabelInput& input, const LabelServices& services);
// 4-inch case label without SSCC, one stream per pallet; copies to the clipboard.
LabelRunReport PrintCaseLabel4(const LabelInput& input, const LabelServices& services);
// 4-inch mixed-container pallet label.
LabelRunReport PrintMixedPalletLabel(const LabelInput& input, const LabelServices& services);
// EAN-13 item label: one stream in all, refused unless the GTIN is 13 digits.
LabelRunReport PrintEanItemLabel(const LabelInput& input, const LabelServices& services);
// 6-inch pallet labels, 8 and 12 dots/mm; copy to the clipboard and pause
// input.waitSeconds after each pallet when that is above 0.
LabelRunReport PrintPalletLabel6(const LabelInput& input, const LabelServices& services);
LabelRunReport PrintPalletLabel6Fine(const LabelInput& input, const LabelServices& services);

}  // namespace paltrix::labels
