#include "app/labels/record_input.h"

#include <gtest/gtest.h>

#include <array>

#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/produkt.h"

namespace paltrix::labels {
namespace {

namespace pro = records::produkt;
namespace fir = records::firma;
namespace pri = records::printer;

TEST(RecordInputTest, ReadsTheFieldsTheLabelsPrint) {
  std::array<char, pro::kRecordLength> produkt{};
  std::array<char, fir::kRecordLength> firma{};
  std::array<char, pri::kRecordLength> printer{};
  fields::WriteText(produkt, pro::PRODUKTID, "P100");
  fields::WriteText(produkt, pro::PRODUKTNAVN,
                    "R\xF8"
                    "dk\xE5l");
  fields::WriteText(produkt, pro::NAVN2, "123");
  fields::WriteText(produkt, pro::EANNR, "5701234567892");
  fields::WriteText(produkt, pro::ANTALPRKOLLIE, "Kasser");
  fields::WriteLong(produkt, pro::ANTALPRPALLE, 40);
  fields::WriteLong(produkt, pro::HOLDBARTIL, 82000);
  ASSERT_TRUE(fields::WriteDecimal(produkt, pro::NETTOVAEGT, 12500));
  fields::WriteText(produkt, pro::BATCHNR, "B77");
  fields::WriteByte(produkt, pro::BRUGORDREID, 1);
  fields::WriteText(firma, fir::NAVN, "Firma A/S");
  fields::WriteText(firma, fir::ADRESSE1, "Vej 1");
  fields::WriteText(firma, fir::ADRESSE2, "Port 2");
  fields::WriteShort(firma, fir::POSTNR, 8000);
  fields::WriteText(firma, fir::BYNAVN, "By");
  fields::WriteText(firma, fir::TELEFON, "11");
  fields::WriteText(firma, fir::FAX, "22");
  fields::WriteText(printer, pri::SPEED, "NORMAL");
  fields::WriteShort(printer, pri::KT, -5);
  settings::PrinterSettings ini;
  ini.printerName = "zebra-1";
  ini.leftOffset = 3;
  ini.topOffset = 4;
  ini.waitSeconds = 2;
  ini.wideNarrow = 1;
  ini.mixedPalletCaption = "A caption longer than nineteen";

  const LabelInput input = LabelInputFromRecords(produkt, firma, printer, ini,
                                                 {.pallets = 3, .labelsPerPallet = 4}, 81990);

  EXPECT_EQ(input.product.productId, "P100");
  EXPECT_EQ(input.product.name,
            "R\xF8"
            "dk\xE5l");
  EXPECT_EQ(input.product.orderNumber, "123");
  EXPECT_EQ(input.product.gtin, "5701234567892");
  EXPECT_EQ(input.product.description, "Kasser");
  EXPECT_EQ(input.product.count, 40);
  EXPECT_EQ(input.product.bestBefore, 82000);
  EXPECT_EQ(input.product.netWeightThousandths, 12500);
  EXPECT_EQ(input.product.batch, "B77");
  EXPECT_EQ(input.product.orderInBarcode, 1);
  EXPECT_EQ(input.sender.name, "Firma A/S");
  EXPECT_EQ(input.sender.address1, "Vej 1");
  EXPECT_EQ(input.sender.address2, "Port 2");
  EXPECT_EQ(input.sender.postalCode, 8000);
  EXPECT_EQ(input.sender.town, "By");
  EXPECT_EQ(input.sender.phone, "11");
  EXPECT_EQ(input.sender.fax, "22");
  EXPECT_EQ(input.printer.printRate, "NORMAL");
  EXPECT_EQ(input.printer.darkness, -5);
  EXPECT_EQ(input.printer.leftMargin, 3);
  EXPECT_EQ(input.printer.topMargin, 4);
  EXPECT_EQ(input.printerName, "zebra-1");
  EXPECT_EQ(input.waitSeconds, 2);
  EXPECT_TRUE(input.wideNarrow);
  EXPECT_EQ(input.mixedCaption, "A caption longer th");
  EXPECT_EQ(input.pallets, 3);
  EXPECT_EQ(input.labelsPerPallet, 4);
  EXPECT_EQ(input.today, 81990);

  ini.mixedPalletCaption = "Mix Cont.          Nr";  // the cut to 19 ends in blanks
  EXPECT_EQ(LabelInputFromRecords(produkt, firma, printer, ini, {}, 81990).mixedCaption,
            "Mix Cont.");

  LabelRunReport report;
  report.printRate = "2";
  report.shelfLifeDays = 10;
  StoreRunResults(report, produkt, printer);
  EXPECT_EQ(fields::ReadText(printer, pri::SPEED), "2");
  EXPECT_EQ(fields::ReadShort(produkt, pro::HOLDBARHEDSDAGE), 10);
}

}  // namespace
}  // namespace paltrix::labels
