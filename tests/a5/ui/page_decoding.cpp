#include "tests/a5/ui/page_decoding.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/child_process.h"

namespace paltrix::a5::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a tool to completion; its standard output.
std::string Run(const std::vector<std::string>& words, const std::filesystem::path& output) {
  const pid_t child = paltrix::testing::SpawnProgram(words, {output, {}, false});
  EXPECT_EQ(paltrix::testing::WaitForExit(child), 0) << words[0] << ": " << ReadFile(output);
  return ReadFile(output);
}

}  // namespace

std::vector<DecodedSymbol> DecodePage(const std::filesystem::path& pdf,
                                      const std::filesystem::path& png,
                                      const std::vector<MmRect>& areas) {
  std::filesystem::path prefix = png;
  prefix.replace_extension();
  Run({"/usr/bin/pdftoppm", "-r", "300", "-gray", "-png", "-singlefile", "-f", "1", "-l", "1",
       pdf.string(), prefix.string()},
      prefix.string() + ".log");
  QImage page(QString::fromStdString(png.string()));
  EXPECT_FALSE(page.isNull()) << png;
  page = page.convertToFormat(QImage::Format_Grayscale8);

  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::Code128);
  hints.setTryHarder(true);
  constexpr double kPixelsPerMm = 300 / 25.4;
  std::vector<DecodedSymbol> symbols;
  for (const MmRect& area : areas) {
    const QImage strip = page.copy(0, static_cast<int>(area.y * kPixelsPerMm), page.width(),
                                   static_cast<int>(area.height * kPixelsPerMm));
    const ZXing::ImageView view(strip.constBits(), strip.width(), strip.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(strip.bytesPerLine()));
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    symbols.push_back(result.isValid() ? DecodedSymbol{result.symbologyIdentifier(), result.text()}
                                       : DecodedSymbol{});
  }
  return symbols;
}

std::string PdfText(const std::filesystem::path& pdf) {
  std::filesystem::path text = pdf;
  text.replace_extension(".txt");
  Run({"/usr/bin/pdftotext", "-layout", pdf.string(), text.string()}, text.string() + ".log");
  return ReadFile(text);
}

int PdfPageCount(const std::filesystem::path& pdf) {
  std::filesystem::path info = pdf;
  info.replace_extension(".info");
  const std::string text = Run({"/usr/bin/pdfinfo", pdf.string()}, info);
  std::smatch match;
  if (!std::regex_search(text, match, std::regex("Pages:\\s+(\\d+)"))) return -1;
  return std::stoi(match[1]);
}

}  // namespace paltrix::a5::testing
