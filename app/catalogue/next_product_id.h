#pragma once

#include <string>
#include <string_view>

namespace paltrix::catalogue {

// The widest product ID the Produkt record holds (PRO:PRODUKTID, zero-terminated).
inline constexpr std::size_t kMaxProductIdLength = 19;

// The ID proposed for a new product, given the highest ID in key order (empty
// when the catalogue is empty): that ID read as a whole number (trailing and
// leading blanks ignored; any other text reads as 0) plus one, written with
// leading zeros to the width of the given ID or of the sum, whichever is
// wider. So "0099" gives "0100", "99" gives "100" and "" gives "1". Empty
// when the result would not fit the record (more than 19 digits).
std::string NextProductId(std::string_view highestId);

}  // namespace paltrix::catalogue
