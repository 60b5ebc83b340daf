#include "barcode/element_runs.h"

#include <cmath>
#include <numeric>

namespace paltrix::barcode {

void AppendModules(std::string_view modules, std::vector<double>& elements) {
  for (const char module : modules) {
    const bool dark = module == '1';
    const bool lastDark = elements.size() % 2 == 1;  // elements alternate from a bar
    if (!elements.empty() && dark == lastDark) {
      elements.back() += 1;
    } else {
      elements.push_back(1);
    }
  }
}

void AppendNarrowWide(std::string_view pattern, double ratio, std::vector<double>& elements) {
  for (const char element : pattern) elements.push_back(element == '1' ? ratio : 1.0);
}

int ModuleSum(const std::vector<double>& elements) {
  return static_cast<int>(std::ceil(std::accumulate(elements.begin(), elements.end(), 0.0) - 1e-9));
}

}  // namespace paltrix::barcode
