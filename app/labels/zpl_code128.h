#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "barcode/code128_encoder.h"

// What a ZPL printer makes of ^BC field data that begins with a start
// invocation code (">9" subset A, ">:" B, ">;" C): the Code 128 symbol
// characters, read with the ZPL II invocation codes (">8" FNC1, ">5" CODE C,
// ">6" CODE B, ">7" CODE A, and in subset B ">0" for ">", "><" for "^", ">="
// for "~").
namespace paltrix::labels {

// The symbol values from the start character to STOP, check character
// included. nullopt for data that does not begin with a start invocation or
// that a subset cannot carry (a lone digit or a letter in subset C).
std::optional<std::vector<barcode::Code128Record>> ZplCode128Symbol(std::string_view fieldData);

}  // namespace paltrix::labels
