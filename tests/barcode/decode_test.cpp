#include <gtest/gtest.h>

#include <string>

#include "rendered_symbol.h"

namespace paltrix::barcode {
namespace {

using testing::Decode;
using testing::DecodeOptions;
using testing::RenderSymbol;

const std::string kF(1, '\xC9');
const std::string kGs(1, '\x1D');

struct DecodeRow {
  int symbology;
  std::string data;
  DecodeOptions options;
  std::string expectedText;
  std::string expectedIdentifier;  // empty: not checked
  testing::RenderOptions render{};
};

// Every symbology the engine draws, read back by ZXing-C++. GS1-128 must carry
// its FNC1 flag (]C1) and exactly the element string, with the group
// separator after a variable-length element (GS1 General Specifications
// 7.8.5); EAN/UPC read with the check digit the engine computed.
const DecodeRow kRows[] = {
    {3, kF + "00357012345000000017", {"Code128"}, "00357012345000000017", "]C1"},
    // As the A5 pages draw it: a 2-inch control, 12-thousandth modules.
    {3, kF + "00357012345000000017", {"Code128"}, "00357012345000000017", "]C1", {2000, 0}},
    {3,
     kF + "0205701234567899" + "37" + "999999" + kF + "40012345",
     {"Code128"},
     "0205701234567899"
     "37999999" +
         kGs + "40012345",
     "]C1",
     {4000, 0}},
    {3, kF + "10AB12" + kF + "15261231", {"Code128"}, "10AB12" + kGs + "15261231", "]C1"},
    {3, "AB1234cd\tx", {"Code128"}, "AB1234cd\tx", "]C0"},
    {4, "HELLO\t", {"Code128"}, "HELLO\t", ""},
    {5, "Hello, world", {"Code128"}, "Hello, world", ""},
    {6, "12345", {"Code128"}, "012345", ""},
    {14, "1234567890123456789", {"Code128"}, "01234567890123456789", "]C1"},
    {1, "code-39 $/+%.", {"Code39"}, "CODE-39 $/+%.", ""},
    {2, "Full ascii!", {"Code39", true}, "Full ascii!", ""},
    {7, "590123412345", {"EAN-13"}, "5901234123457", ""},
    {7, "5901234123450", {"EAN-13"}, "5901234123457", ""},
    {9, "03600029145", {"UPC-A"}, "036000291452", ""},
    {8, "0123456", {"UPC-E"}, "01234565", ""},
    {10, "9638507", {"EAN-8"}, "96385074", ""},
    {11, "1234567", {"ITF"}, "01234567", ""},
    {13, "A40156B", {"Codabar"}, "A40156B", ""},
    {13, "31117013206375", {"Codabar"}, "A31117013206375A", ""},
};

void PrintTo(const DecodeRow& row, std::ostream* os) {
  *os << "symbology " << row.symbology << " expecting \"" << row.expectedText << '"';
}

class DecodeRowTest : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeRowTest, AnIndependentDecoderReadsTheSymbol) {
  const DecodeRow& row = GetParam();
  const QImage page = RenderSymbol(row.symbology, row.data, row.render);
  testing::SaveForInspection(page);
  const testing::Decoded decoded = Decode(page, row.options);
  ASSERT_TRUE(decoded.valid) << "symbology " << row.symbology << " data " << row.data;
  EXPECT_EQ(decoded.text, row.expectedText);
  if (!row.expectedIdentifier.empty()) {
    EXPECT_EQ(decoded.symbologyIdentifier, row.expectedIdentifier);
  }
}

INSTANTIATE_TEST_SUITE_P(EverySymbology, DecodeRowTest, ::testing::ValuesIn(kRows));

TEST(DecodeTest, CheckCharactersThatTheBarcodeAddsValidate) {
  // Code 39: the modulo-43 sum of "CODE39" is 32, "W" (ISO/IEC 16388 Annex).
  const testing::RenderOptions withCheck{.addCheckDigit = true};
  const testing::Decoded code39 =
      Decode(RenderSymbol(1, "CODE39", withCheck), {"Code39", false, true});
  EXPECT_TRUE(code39.valid);
  EXPECT_EQ(Decode(RenderSymbol(1, "CODE39"), {"Code39", false, false}).text, "CODE39");
  // Interleaved 2 of 5 with its modulo-10 check digit: 1234567 -> 12345670.
  const testing::Decoded itf = Decode(RenderSymbol(11, "1234567", withCheck), {"ITF"});
  EXPECT_EQ(itf.text, "12345670");
}

}  // namespace
}  // namespace paltrix::barcode
