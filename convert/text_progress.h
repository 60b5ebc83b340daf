#pragma once

#include <chrono>
#include <cstdio>

#include "convert/product_conversion.h"

namespace paltrix::convert {

// The progress window's texts on a stream (standard error without a
// display): "Converting File", then "Converting Record #: n" (rewritten in
// place on a terminal, a line every 10 000 records otherwise, and the final
// count), then "Building Keys".
class TextProgress final : public ConversionProgress {
 public:
  explicit TextProgress(std::FILE* stream);
  void Started() override;
  void RecordsConverted(std::int64_t count) override;
  void BuildingKeys() override;

 private:
  void ShowCount(std::int64_t count, bool final);

  std::FILE* stream_;
  bool terminal_;
  std::int64_t count_ = 0;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace paltrix::convert
