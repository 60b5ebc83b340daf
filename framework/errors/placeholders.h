#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace paltrix::errors {

struct Placeholder {
  std::string_view name;               // e.g. "%File"; matched without regard to case
  std::function<std::string()> value;  // asked for at most once, only when the name occurs
};

// `text` with every occurrence of each placeholder replaced by its value, the
// placeholders taken in the given order. Text that a replacement inserted is
// never searched again, so a value holding "%Field" stays as it is, and a
// placeholder never matches across the edges of an inserted value.
std::string ReplacePlaceholders(std::string_view text, std::span<const Placeholder> placeholders);

}  // namespace paltrix::errors
