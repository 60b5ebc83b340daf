#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace paltrix::testing {

// The bytes of a file; empty when it cannot be read.
std::string ReadFileText(const std::filesystem::path& path);

// Replaces a file's contents with `text`, byte for byte.
void WriteFileText(const std::filesystem::path& path, std::string_view text);

}  // namespace paltrix::testing
