#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/gs1/sscc_allocator.h"
#include "app/labels/record_input.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"
#include "framework/fields/record_codec.h"
#include "framework/status.h"

// Queues the A5 labels of a print run: one A5etiket record per label, one
// SSCC per pallet.
namespace paltrix::a5 {

inline constexpr std::string_view kAddFailedText = "Fejl v. add A5etiket: ";

// The count A5E:ANTAL can hold (5 characters).
inline constexpr std::int32_t kMaxQueuedCount = 99999;

struct QueueReport {
  // OK; or why the run was refused before anything was queued (data that
  // cannot be printed, a count that does not fit) or stopped (no SSCC could
  // be allocated: the pallets before are queued).
  Status status;
  std::vector<std::string> ssccs;  // one per pallet, in order
  int queued = 0;                  // records added
  int failedAdds = 0;              // records that could not be added (each shown)
};

// For each pallet of counts.pallets: allocates the next SSCC through `sscc`
// (durably, before any label carries it), then adds counts.labelsPerPallet
// records to A5etiket in `context` with the SSCC and the product's values
// for this run (PRO:PRODUKTID, PRO:HOLDBARTIL, PRO:BATCHNR, PRO:NETTOVAEGT,
// PRO:NAVN2 cut to 19 characters, PRO:ANTALPRPALLE as text, A5E:SKREVET 0).
//
// The labels are first formed once with a stand-in SSCC, so a product that
// cannot be printed (a GTIN that is not digits, a batch no barcode can
// carry, a count above 99999, which the queue record cannot hold) is refused
// before any SSCC is spent. A record that cannot be added is shown as
// "Fejl v. add A5etiket: " and the storage engine's text (one button) and
// the run goes on with the next label; the serial stays advanced.
// REQUIRES: `produkt` is at least the Produkt record length.
QueueReport AddA5Label(records::RecordContext& context, fields::ConstImage produkt,
                       labels::RunCounts counts, gs1::SsccAllocator& sscc, std::int32_t today,
                       errors::ErrorManager& errors);

}  // namespace paltrix::a5
