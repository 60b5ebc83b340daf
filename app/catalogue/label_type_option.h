#pragma once

#include <cstdint>
#include <string_view>

namespace paltrix::catalogue {

// The catalogue offers a choice of label type ("Palle", "Kolli", "EAN-13" and
// the mixed-pallet label) only for the 4-inch ZPL format at 8 dots/mm, the one
// format whose dispatch tells the types apart; for every other printer setting
// the label type is the pallet label (0).
bool LabelTypeOptionShown(std::string_view storedFormat, std::int32_t dots);

}  // namespace paltrix::catalogue
