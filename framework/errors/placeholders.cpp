#include "framework/errors/placeholders.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace paltrix::errors {
namespace {

struct Piece {
  std::string text;
  bool inserted = false;
};

bool EqualNoCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

std::size_t FindNoCase(std::string_view text, std::string_view name, std::size_t from) {
  auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                           name.begin(), name.end(), EqualNoCase);
  return found == text.end() ? std::string_view::npos
                             : static_cast<std::size_t>(found - text.begin());
}

}  // namespace

std::string ReplacePlaceholders(std::string_view text, std::span<const Placeholder> placeholders) {
  std::vector<Piece> pieces{{std::string(text), false}};
  for (const Placeholder& placeholder : placeholders) {
    if (placeholder.name.empty()) continue;
    std::optional<std::string> value;
    std::vector<Piece> next;
    for (Piece& piece : pieces) {
      if (piece.inserted) {
        next.push_back(std::move(piece));
        continue;
      }
      std::size_t start = 0;
      for (std::size_t found = FindNoCase(piece.text, placeholder.name, 0);
           found != std::string_view::npos;
           found = FindNoCase(piece.text, placeholder.name, start)) {
        if (!value) value = placeholder.value();
        next.push_back({piece.text.substr(start, found - start), false});
        next.push_back({*value, true});
        start = found + placeholder.name.size();
      }
      next.push_back({piece.text.substr(start), false});
    }
    pieces = std::move(next);
  }
  std::string result;
  for (const Piece& piece : pieces) result += piece.text;
  return result;
}

}  // namespace paltrix::errors
