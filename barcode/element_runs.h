#pragma once

#include <string_view>
#include <vector>

// Helpers that turn the published pattern notations into element widths.
namespace paltrix::barcode {

// Appends the runs of a module string ("1" dark, "0" light), continuing the
// bar/space alternation of `elements`: a run of the colour the last element
// had extends it. REQUIRES: the first module of a symbol is dark.
void AppendModules(std::string_view modules, std::vector<double>& elements);

// Appends elements of a narrow/wide pattern ("0" narrow, "1" wide), wide ones
// `ratio` modules wide, starting with the colour that follows `elements`.
void AppendNarrowWide(std::string_view pattern, double ratio, std::vector<double>& elements);

// The sum of the element widths, rounded up to whole modules.
int ModuleSum(const std::vector<double>& elements);

}  // namespace paltrix::barcode
