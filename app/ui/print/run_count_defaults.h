#pragma once

#include <optional>

#include "app/labels/record_input.h"

namespace paltrix::app::print {

// The run counts the print windows propose when they open, shared by the whole
// process. Normally there are none here and the windows take labels per
// pallet from PRI:ANTALDETLAB and pallets from FIR:ANTALPALLER as stored.
// While a settings window is open on which the operator has touched "Antal
// paller/serie", the counts it showed then are proposed instead, so a print
// started beside it runs with the values being set up, saved or not. Only
// the window that set them withdraws them (when it closes).
//
// GUI thread only.
class RunCountDefaults {
 public:
  static RunCountDefaults& Process();

  void Set(labels::RunCounts counts, const void* owner);
  // Forgets the counts when `owner` set them last; otherwise does nothing.
  void Withdraw(const void* owner);
  std::optional<labels::RunCounts> Get() const;

 private:
  std::optional<labels::RunCounts> counts_;
  const void* owner_ = nullptr;
};

}  // namespace paltrix::app::print
