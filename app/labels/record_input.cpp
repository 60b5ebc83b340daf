#include "app/labels/record_input.h"

#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/produkt.h"
#include "framework/text/windows1252.h"

namespace paltrix::labels {

LabelInput LabelInputFromRecords(fields::ConstImage produkt, fields::ConstImage firma,
                                 fields::ConstImage printer,
                                 const settings::PrinterSettings& printerSettings, RunCounts counts,
                                 std::int32_t today) {
  namespace pro = records::produkt;
  namespace fir = records::firma;
  namespace pri = records::printer;
  using fields::ReadByte;
  using fields::ReadLong;
  using fields::ReadShort;
  using fields::ReadText;

  LabelInput input;
  input.product = {.productId = ReadText(produkt, pro::PRODUKTID),
                   .name = ReadText(produkt, pro::PRODUKTNAVN),
                   .orderNumber = ReadText(produkt, pro::NAVN2),
                   .gtin = ReadText(produkt, pro::EANNR),
                   .description = ReadText(produkt, pro::ANTALPRKOLLIE),
                   .count = ReadLong(produkt, pro::ANTALPRPALLE),
                   .bestBefore = ReadLong(produkt, pro::HOLDBARTIL),
                   .netWeightThousandths = fields::ReadDecimal(produkt, pro::NETTOVAEGT),
                   .batch = ReadText(produkt, pro::BATCHNR),
                   .orderInBarcode = ReadByte(produkt, pro::BRUGORDREID)};
  input.sender = {.name = ReadText(firma, fir::NAVN),
                  .address1 = ReadText(firma, fir::ADRESSE1),
                  .address2 = ReadText(firma, fir::ADRESSE2),
                  .postalCode = ReadShort(firma, fir::POSTNR),
                  .town = ReadText(firma, fir::BYNAVN),
                  .phone = ReadText(firma, fir::TELEFON),
                  .fax = ReadText(firma, fir::FAX)};
  input.printer = {.printRate = ReadText(printer, pri::SPEED),
                   .darkness = ReadShort(printer, pri::KT),
                   .leftMargin = printerSettings.leftOffset,
                   .topMargin = printerSettings.topOffset};
  input.printerName = printerSettings.printerName;
  input.waitSeconds = printerSettings.waitSeconds;
  input.wideNarrow = printerSettings.wideNarrow != 0;
  // The cut to the label's width can leave blanks at the end.
  input.mixedCaption =
      std::string(text::TrimRight(settings::MixedPalletLabelCaption(printerSettings)));
  input.pallets = counts.pallets;
  input.labelsPerPallet = counts.labelsPerPallet;
  input.today = today;
  return input;
}

void StoreRunResults(const LabelRunReport& report, fields::Image produkt, fields::Image printer) {
  fields::WriteShort(produkt, records::produkt::HOLDBARHEDSDAGE, report.shelfLifeDays);
  fields::WriteText(printer, records::printer::SPEED, report.printRate);
}

}  // namespace paltrix::labels
