#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace paltrix::cli {

// Adds an option that takes a whole number within [minimum, maximum], read
// by WholeNumber (field_input.h): decimal digits only, leading zeros read as
// decimal ("000000102" is 102), a minus sign only when minimum < 0. A value
// of any other form or outside the range ends the command as bad input while
// the command line is read, before anything is written. Help shows the range.
// REQUIRES: `target` outlives parsing.
CLI::Option* AddNumberOption(CLI::App& command, const std::string& name,
                             std::optional<std::int64_t>& target, std::int64_t minimum,
                             std::int64_t maximum, const std::string& description);

// The same for a number that must be one of `allowed`.
CLI::Option* AddNumberChoice(CLI::App& command, const std::string& name,
                             std::optional<std::int64_t>& target, std::vector<std::int64_t> allowed,
                             const std::string& description);

}  // namespace paltrix::cli
