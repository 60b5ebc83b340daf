#include "app/ui/print/run_count_defaults.h"

namespace paltrix::app::print {

RunCountDefaults& RunCountDefaults::Process() {
  static RunCountDefaults defaults;
  return defaults;
}

void RunCountDefaults::Set(labels::RunCounts counts, const void* owner) {
  counts_ = counts;
  owner_ = owner;
}

void RunCountDefaults::Withdraw(const void* owner) {
  if (owner != owner_) return;
  counts_.reset();
  owner_ = nullptr;
}

std::optional<labels::RunCounts> RunCountDefaults::Get() const {
  return counts_;
}

}  // namespace paltrix::app::print
