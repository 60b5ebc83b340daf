#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/a5/report_layout.h"

// Reads back what a PDF page shows, with tools that share no code with ours:
// poppler's pdftoppm (rendering at 300 dpi) and pdftotext, and the ZXing
// decoder in-process.
namespace paltrix::a5::testing {

struct DecodedSymbol {
  std::string symbologyIdentifier;  // "]C1" for GS1-128
  std::string text;                 // FNC1 separators as GS (0x1D), the leading one dropped
  auto operator<=>(const DecodedSymbol&) const = default;
};

// Renders page 1 of `pdf` to `png` (grey, 300 dpi) and decodes the Code 128
// symbol in each of `areas` (millimetres on the page; the symbol may lie
// anywhere across the page's width between the area's top and bottom). An
// area without a readable symbol gives an empty DecodedSymbol. Fails the
// test when a tool cannot run.
std::vector<DecodedSymbol> DecodePage(const std::filesystem::path& pdf,
                                      const std::filesystem::path& png,
                                      const std::vector<MmRect>& areas);

// The text of `pdf` as pdftotext lays it out.
std::string PdfText(const std::filesystem::path& pdf);

// Number of pages of `pdf` (pdfinfo).
int PdfPageCount(const std::filesystem::path& pdf);

}  // namespace paltrix::a5::testing
