#pragma once

#include <filesystem>
#include <string>

namespace paltrix::output::testing {

// The whole content of a file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace paltrix::output::testing
