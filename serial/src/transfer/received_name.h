#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavix {

// A file name sent by the other side, reduced to something that stays inside the download
// folder: "/" and "\" both separate, a drive ("C:") and empty, "." and ".." components are
// dropped, and control characters are refused.
struct ConfinedName {
  std::string directory;  // relative folders the sender named ("a/b"), empty when none
  std::string name;       // the bare file name, never empty
};

// Empty when nothing usable is left (the name was "..", "/" or "C:\", or held control bytes).
std::optional<ConfinedName> ConfineReceivedName(std::string_view sent);

// "directory/name", or the name alone when no directory is given.
std::string JoinPath(std::string_view directory, std::string_view name);

}  // namespace tavix
