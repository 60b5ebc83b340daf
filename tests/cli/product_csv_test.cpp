#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::cli::testing {
namespace {

using paltrix::testing::ReadFileText;
using paltrix::testing::WriteFileText;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kHeader =
    "id,name,description,gtin,shelf-life,count,order-no,order-in-barcode,best-before,weight,"
    "batch\r\n";

// A catalogue folder and the import and export commands run on it.
class ProductCsvTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(folder_ / "Data"); }

  CliResult Import(const std::string& csv, std::vector<std::string> options = {}) {
    WriteFileText(folder_ / "in.csv", csv);
    std::vector<std::string> arguments = {"product", "import", (folder_ / "in.csv").string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return RunCli(folder_.path(), arguments);
  }

  std::string Export() {
    const CliResult result = RunCli(folder_.path(), {"product", "export"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result.out;
  }

  paltrix::testing::TempDirectory folder_;
};

// 10 000 products, each column used, in the form export writes: ID order,
// quotes only where a value needs them, CR LF.
std::string Catalogue() {
  std::string csv = kHeader;
  for (int i = 0; i < 10'000; ++i) {
    const std::string name = i % 7 == 0   ? fmt::format("\"Rødkål, {} stk\"", i)
                             : i % 7 == 1 ? fmt::format("\"Æble \"\"Ingrid Marie\"\" {}\"", i)
                             : i % 7 == 2 ? fmt::format("\" Grøn {}\"", i)
                                          : fmt::format("Blåbær {}", i);
    const std::string gtin = i % 3 == 0 ? "" : "5701234567899";
    const std::string bestBefore =
        i % 5 == 0 ? "" : fmt::format("2027-{:02}-{:02}", 1 + i % 12, 1 + i % 28);
    csv += fmt::format("P{:05},{},Kasse på {} kg,{},{},{},O{},{},{},{}.{:03},Parti-ÆØÅ-{}\r\n", i,
                       name, i % 40, gtin, i % 366, i % 1000, i % 99999, i % 2, bestBefore,
                       i % 10000, i % 1000, i);
  }
  return csv;
}

TEST_F(ProductCsvTest, ARoundTripOfTenThousandProductsIsLossless) {
  const std::string catalogue = Catalogue();
  const CliResult imported = Import(catalogue);
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  EXPECT_EQ(imported.out, "10000 products added, 0 changed\n");
  EXPECT_EQ(Export(), catalogue);

  // Export to a file, then into an empty catalogue again: the same bytes.
  ASSERT_EQ(RunCli(folder_.path(), {"product", "export", "--output", "again.csv"}).exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder_ / "again.csv"), catalogue);
  EmptyRecordFiles(folder_.path());
  ASSERT_EQ(Import(ReadFileText(folder_ / "again.csv")).exitStatus, 0);
  EXPECT_EQ(Export(), catalogue);
}

TEST_F(ProductCsvTest, OneBadRowAmongManyChangesNothingAndNamesItsLine) {
  ASSERT_EQ(Import(std::string(kHeader) + "A1,Kept,,,1,2,,0,,1.000,\r\n").exitStatus, 0);
  const std::string before = Export();

  std::string csv = kHeader;
  for (int i = 0; i < 4000; ++i) {
    const std::string gtin = i == 2716 ? "5701234567890" : "5701234567899";  // wrong check digit
    csv += fmt::format("B{},Vare {},,{},1,2,,0,,,\r\n", i, i, gtin);
  }
  const CliResult result = Import(csv);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("line 2718: gtin: the check digit of 5701234567890 is wrong"));
  EXPECT_THAT(result.err, HasSubstr("1 of 4000 rows are wrong; nothing was imported"));
  EXPECT_EQ(Export(), before);
}

TEST_F(ProductCsvTest, AnIdInTheCatalogueStopsTheWholeImportUnlessReplacing) {
  ASSERT_EQ(Import("id,name,count\r\nAbc,Gammel,7\r\n").exitStatus, 0);
  const std::string before = Export();

  // The first rows are written before the catalogue refuses the last one:
  // the transaction takes them back.
  const std::string csv = "id,name\r\nN1,Ny\r\nN2,Ny\r\nABC,Ny\r\n";
  const CliResult refused = Import(csv);
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_THAT(refused.err, HasSubstr("line 4: the product \"ABC\" is in the catalogue already"));
  EXPECT_EQ(Export(), before);

  // --replace changes the given columns, keeps the others (count 7) and the
  // ID as stored.
  const CliResult replaced = Import(csv, {"--replace"});
  ASSERT_EQ(replaced.exitStatus, 0) << replaced.err;
  EXPECT_EQ(replaced.out, "2 products added, 1 changed\n");
  EXPECT_EQ(Export(), std::string(kHeader) + "Abc,Ny,,,0,7,,0,,0.000,\r\n" +
                          "N1,Ny,,,0,0,,0,,0.000,\r\nN2,Ny,,,0,0,,0,,0.000,\r\n");
}

TEST_F(ProductCsvTest, ReadsQuotingCommasLineBreaksAndAByteOrderMark) {
  // Columns in another order and a subset; LF and CR LF rows; an empty line;
  // blanks around an unquoted value are part of it (trailing blanks are the
  // record text's padding and do not come back).
  const std::string csv =
      "\xEF\xBB\xBF"
      "name,id,description\n"
      "\"Æg, store \"\"M\"\"\",E1, Løse \n"
      "\r\n"
      "Mælk,E2,\"a,b,c\"\r\n";
  const CliResult result = Import(csv);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(Export(), std::string(kHeader) +
                          "E1,\"Æg, store \"\"M\"\"\",\" Løse\",,0,0,,0,,0.000,\r\n" +
                          "E2,Mælk,\"a,b,c\",,0,0,,0,,0.000,\r\n");

  // A line break inside quotes is part of the value (which a product name
  // cannot hold) and the lines after it are counted on.
  const CliResult broken =
      Import("id,name\r\nL1,\"two\r\nlines\"\r\nL2,ok\r\nL3,\"" + std::string(31, 'x') + "\"\r\n");
  EXPECT_EQ(broken.exitStatus, 2);
  EXPECT_THAT(broken.err, HasSubstr("line 2: name: control characters are not allowed"));
  EXPECT_THAT(broken.err, HasSubstr("line 5: name: "));
  EXPECT_THAT(broken.err, Not(HasSubstr("line 4:")));

  const CliResult unclosed = Import("id,name\r\nU1,ok\r\nU2,\"never closed\r\nU3,x\r\n");
  EXPECT_EQ(unclosed.exitStatus, 2);
  EXPECT_THAT(unclosed.err,
              HasSubstr("line 3: not valid CSV: a quoted value that is never closed"));
  const CliResult strayQuote = Import("id,name\r\nU1,o\"k\r\n");
  EXPECT_THAT(strayQuote.err, HasSubstr("line 2: not valid CSV: a quote inside a value"));

  const CliResult header = Import("id,colour\r\nC1,red\r\n");
  EXPECT_EQ(header.exitStatus, 2);
  EXPECT_THAT(header.err, HasSubstr("line 1: unknown column \"colour\""));
  EXPECT_EQ(Export(), std::string(kHeader) +
                          "E1,\"Æg, store \"\"M\"\"\",\" Løse\",,0,0,,0,,0.000,\r\n" +
                          "E2,Mælk,\"a,b,c\",,0,0,,0,,0.000,\r\n");
}

}  // namespace
}  // namespace paltrix::cli::testing
