#include "tests/output/read_file.h"

#include <fstream>
#include <sstream>

namespace paltrix::output::testing {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace paltrix::output::testing
