#include "app/a5/record_fields.h"

#include "app/records/a5etiket.h"
#include "app/records/firma.h"
#include "app/records/produkt.h"

namespace paltrix::a5 {

namespace a5e = records::a5etiket;

QueuedLabel QueuedLabelOf(fields::ConstImage a5etiket) {
  using fields::ReadText;
  return {.sscc = ReadText(a5etiket, a5e::SSCC),
          .productId = ReadText(a5etiket, a5e::PRODUKTID),
          .count = ReadText(a5etiket, a5e::ANTAL),
          .bestBefore = fields::ReadLong(a5etiket, a5e::HOLDBARTIL),
          .netWeightThousandths = fields::ReadDecimal(a5etiket, a5e::NETTOVAEGT),
          .batch = ReadText(a5etiket, a5e::BATCHNR),
          .orderNumber = ReadText(a5etiket, a5e::ORDRENR)};
}

void WriteQueuedLabel(fields::Image a5etiket, const QueuedLabel& label) {
  fields::WriteText(a5etiket, a5e::SSCC, label.sscc);
  fields::WriteText(a5etiket, a5e::PRODUKTID, label.productId);
  fields::WriteText(a5etiket, a5e::ANTAL, label.count);
  fields::WriteByte(a5etiket, a5e::SKREVET, 0);
  fields::WriteLong(a5etiket, a5e::HOLDBARTIL, label.bestBefore);
  fields::WriteDecimal(a5etiket, a5e::NETTOVAEGT, label.netWeightThousandths);
  fields::WriteText(a5etiket, a5e::BATCHNR, label.batch);
  fields::WriteText(a5etiket, a5e::ORDRENR, label.orderNumber);
}

LabelProduct LabelProductOf(fields::ConstImage produkt) {
  namespace pro = records::produkt;
  return {.name = fields::ReadText(produkt, pro::PRODUKTNAVN),
          .description = fields::ReadText(produkt, pro::ANTALPRKOLLIE),
          .gtin = fields::ReadText(produkt, pro::EANNR),
          .orderInBarcode = fields::ReadByte(produkt, pro::BRUGORDREID)};
}

LabelSender LabelSenderOf(fields::ConstImage firma) {
  namespace fir = records::firma;
  return {.name = fields::ReadText(firma, fir::NAVN),
          .address1 = fields::ReadText(firma, fir::ADRESSE1),
          .postalCode = fields::ReadShort(firma, fir::POSTNR),
          .town = fields::ReadText(firma, fir::BYNAVN),
          .phone = fields::ReadText(firma, fir::TELEFON),
          .fax = fields::ReadText(firma, fir::FAX)};
}

}  // namespace paltrix::a5
