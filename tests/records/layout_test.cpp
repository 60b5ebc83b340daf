#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/records/record_files.h"

namespace paltrix::records {
namespace {

using fields::FieldType;

struct ExpectedField {
  std::string_view name;
  FieldType type;
  std::uint32_t offset;
  std::uint32_t size;
};

struct ExpectedFile {
  const storage::FileSchema& schema;
  std::string_view label;
  std::string_view diskName;
  std::uint32_t recordLength;
  std::vector<ExpectedField> fields;
};

constexpr FieldType L = FieldType::kLong;
constexpr FieldType S = FieldType::kShort;
constexpr FieldType B = FieldType::kByte;
constexpr FieldType D = FieldType::kDate;
constexpr FieldType T = FieldType::kTime;
constexpr FieldType X = FieldType::kText;
constexpr FieldType Z = FieldType::kZText;
constexpr FieldType P = FieldType::kDecimal;

// The layouts as the data dictionary lists them, typed in independently of
// the headers so that a slipped offset or size in either shows up here.
std::vector<ExpectedFile> DataDictionary() {
  std::vector<ExpectedField> produktExtended = {
      {"PRD:PRODUKTID", L, 0, 4}, {"PRD:PRODUKTNAVN", X, 4, 18}, {"PRD:TYPE", L, 22, 4}};
  static const std::string_view kPrices[] = {"PRD:PRIS1", "PRD:PRIS2",  "PRD:PRIS3",  "PRD:PRIS4",
                                             "PRD:PRIS5", "PRD:PRIS6",  "PRD:PRIS7",  "PRD:PRIS8",
                                             "PRD:PRIS9", "PRD:PRIS10", "PRD:PRIS11", "PRD:PRIS12"};
  for (std::uint32_t i = 0; i < 12; ++i) produktExtended.push_back({kPrices[i], P, 26 + 4 * i, 4});
  produktExtended.insert(produktExtended.end(), {{"PRD:SIDSTEBEV", L, 74, 4},
                                                 {"PRD:DAGEFRASLAGTNING", S, 78, 2},
                                                 {"PRD:HOLDBARTIL", S, 80, 2},
                                                 {"PRD:DD", S, 82, 2},
                                                 {"PRD:PRODUKTSTATUS", X, 84, 20},
                                                 {"PRD:LAGERSTATUS", X, 104, 20},
                                                 {"PRD:KUNDEID", L, 124, 4},
                                                 {"PRD:LEVERANDID", L, 128, 4},
                                                 {"PRD:EANNR", Z, 132, 20},
                                                 {"PRD:GRUPPE", X, 152, 20},
                                                 {"PRD:NAVN2", X, 172, 18}});
  return {
      {a5etiket::kSchema,
       "A5etiket",
       "A5.tps",
       95,
       {{"A5E:SSCC", Z, 0, 20},
        {"A5E:PRODUKTID", Z, 20, 20},
        {"A5E:ANTAL", Z, 40, 6},
        {"A5E:SKREVET", B, 46, 1},
        {"A5E:HOLDBARTIL", D, 47, 4},
        {"A5E:NETTOVAEGT", P, 51, 4},
        {"A5E:BATCHNR", Z, 55, 20},
        {"A5E:ORDRENR", Z, 75, 20}}},
      {historik::kSchema,
       "HISTORIK",
       "data\\historik.dat",
       102,
       {{"HIS:PRODUKTID", L, 0, 4},
        {"HIS:DATO", D, 4, 4},
        {"HIS:ORDRE", L, 8, 4},
        {"HIS:STARTTID", L, 12, 4},
        {"HIS:VAEGTIALT", P, 16, 5},
        {"HIS:SSCC", Z, 21, 20},
        {"HIS:BRUGER", X, 41, 4},
        {"HIS:UDSKREVET", B, 45, 1},
        {"HIS:VEJEID", L, 46, 4},
        {"HIS:NAVN", X, 50, 20},
        {"HIS:SLGDATO", D, 70, 4},
        {"HIS:MHT", L, 74, 4},
        {"HIS:KUNDENR", X, 78, 10},
        {"HIS:VARENR", L, 88, 4},
        {"HIS:PAKKETAL", L, 92, 4},
        {"HIS:DELLEV", X, 96, 1},
        {"HIS:UDLEVERET", P, 97, 5}}},
      {bruger::kSchema,
       "Bruger",
       "DATA/BRUGER.DAT",
       24,
       {{"BRU:INIT", X, 0, 4}, {"BRU:NAVN", X, 4, 20}}},
      {produkt::kSchema,
       "Produkt",
       "Data\\PRODUKT.dat",
       215,
       {{"PRO:PRODUKTID", Z, 0, 20},
        {"PRO:PRODUKTNAVN", X, 20, 50},
        {"PRO:NAVN2", X, 70, 30},
        {"PRO:EANNR", Z, 100, 20},
        {"PRO:HOLDBARHEDSDAGE", S, 120, 2},
        {"PRO:ANTALPRKOLLIE", X, 122, 60},
        {"PRO:ANTALPRPALLE", L, 182, 4},
        {"PRO:HOLDBARTIL", D, 186, 4},
        {"PRO:NETTOVAEGT", P, 190, 4},
        {"PRO:BATCHNR", Z, 194, 20},
        {"PRO:BRUGORDREID", B, 214, 1}}},
      {produkt_extended::kSchema, "PRODUcT", "Data\\PRODUKT.dat", 190, produktExtended},
      {printer::kSchema,
       "Printer",
       "SPTIGER.DAT",
       188,
       {{"PRI:BAUDRATE", L, 0, 4},  {"PRI:WTOK", B, 4, 1},          {"PRI:DOTS", L, 5, 4},
        {"PRI:PRINTER", X, 9, 20},  {"PRI:KT", S, 29, 2},           {"PRI:XS", S, 31, 2},
        {"PRI:SP", S, 33, 2},       {"PRI:OM", S, 35, 2},           {"PRI:PARITY", X, 37, 4},
        {"PRI:DATA", X, 41, 1},     {"PRI:STOP", X, 42, 1},         {"PRI:PORT", X, 43, 5},
        {"PRI:STINAVN", Z, 48, 60}, {"PRI:ANTALDETLAB", B, 108, 1}, {"PRI:ANTALTOTLAB", B, 109, 1},
        {"PRI:DENSITY", B, 110, 1}, {"PRI:XSTART", S, 111, 2},      {"PRI:YSTART", S, 113, 2},
        {"PRI:SPEED", X, 115, 20},  {"PRI:ZEBRASPEED", X, 135, 20}, {"PRI:TEST", B, 155, 1},
        {"PRI:UBION", B, 156, 1},   {"PRI:BAUDUBI", L, 157, 4},     {"PRI:PARITUBI", X, 161, 4},
        {"PRI:DATAUBI", X, 165, 1}, {"PRI:STOPUBI", X, 166, 1},     {"PRI:PORTUBI", X, 167, 5},
        {"PRI:SKAON", B, 172, 1},   {"PRI:BAUDSKA", L, 173, 4},     {"PRI:PARITSKA", X, 177, 4},
        {"PRI:DATASKA", X, 181, 1}, {"PRI:STOPSKA", X, 182, 1},     {"PRI:PORTSKA", X, 183, 5}}},
      {ordrehoved::kSchema,
       "Ordrehoved",
       "data\\ordrehov.tps",
       242,
       {{"ORD:KUNDEID", X, 0, 12},        {"ORD:ORDRENUMMER", L, 12, 4},
        {"ORD:ORDREDATO", D, 16, 4},      {"ORD:MODTAGETAF", X, 20, 6},
        {"ORD:MODTAGER", X, 26, 30},      {"ORD:LEVERINGSADR", X, 56, 30},
        {"ORD:LEVERINGSADR2", X, 86, 30}, {"ORD:BYNAVN", X, 116, 20},
        {"ORD:REKVISITION", X, 136, 30},  {"ORD:LEVERINGSPOSTNR", L, 166, 4},
        {"ORD:ORDRETYPE", B, 170, 1},     {"ORD:SHIPPING", X, 171, 24},
        {"ORD:ORDRESTATUS", B, 195, 1},   {"ORD:AFSENDESMED", B, 196, 1},
        {"ORD:FAKTURANR", L, 197, 4},     {"ORD:FOLGENR", L, 201, 4},
        {"ORD:UDSKRIVES", B, 205, 1},     {"ORD:FAKTURADATO", D, 206, 4},
        {"ORD:UDSKREVET", B, 210, 1},     {"ORD:NB", X, 211, 20},
        {"ORD:SLUTDATO", D, 231, 4},      {"ORD:INTERNORDRE", B, 235, 1},
        {"ORD:ANSVARLIG", X, 236, 6}}},
      {adresser::kSchema,
       "Adresser",
       "ADRESSER",
       148,
       {{"ADR:TELEFON", X, 0, 12},
        {"ADR:NAVN", X, 12, 30},
        {"ADR:ADRESSE1", X, 42, 30},
        {"ADR:ADRESSE2", X, 72, 30},
        {"ADR:POSTNR", X, 102, 6},
        {"ADR:BYNAVN", X, 108, 20},
        {"ADR:PRISGRUPPE", X, 128, 20}}},
      {prisgrp::kSchema,
       "Prisgrp",
       "data\\prisgrp",
       21,
       {{"PRS:PRISGRUPPE", X, 0, 20}, {"PRS:NR", B, 20, 1}}},
      {ordrelinier::kSchema,
       "Ordrelinier",
       "data\\olinier.tps",
       85,
       {{"OLI:ORDRENUMMER", L, 0, 4},
        {"OLI:LINIESSCC", Z, 4, 20},
        {"OLI:LINIETEKST", X, 24, 36},
        {"OLI:VARENR", L, 60, 4},
        {"OLI:ANTALORDRET", P, 64, 5},
        {"OLI:PRIS", P, 69, 5},
        {"OLI:IALT", P, 74, 5},
        {"OLI:OPD", B, 79, 1},
        {"OLI:ANTALLEVERET", P, 80, 5}}},
      {ordrespec::kSchema,
       "Ordrespec",
       "DATA/ORDTAIL",
       53,
       {{"SPC:VARENR", L, 0, 4},
        {"SPC:ORDRENR", L, 4, 4},
        {"SPC:KG", P, 8, 4},
        {"SPC:DATO", D, 12, 4},
        {"SPC:TID", T, 16, 4},
        {"SPC:INDIVID", L, 20, 4},
        {"SPC:SLGDATO", D, 24, 4},
        {"SPC:MHT", L, 28, 4},
        {"SPC:UDSKREVET", B, 32, 1},
        {"SPC:SSCC", Z, 33, 20}}},
      {firma::kSchema,
       "Firma",
       "DATA\\DFIRMA.DAT",
       207,
       {{"FIR:NAVN", X, 0, 35},
        {"FIR:ANTALPALLER", L, 35, 4},
        {"FIR:SSCC", Z, 39, 20},
        {"FIR:SS", L, 59, 4},
        {"FIR:SSCCNR", L, 63, 4},
        {"FIR:ADRESSE1", X, 67, 35},
        {"FIR:ADRESSE2", X, 102, 35},
        {"FIR:POSTNR", S, 137, 2},
        {"FIR:BYNAVN", X, 139, 20},
        {"FIR:TELEFON", X, 159, 20},
        {"FIR:FAX", X, 179, 20},
        {"FIR:ETIKETANTAL", L, 199, 4},
        {"FIR:TOTALANTAL", L, 203, 4}}},
  };
}

TEST(RecordLayoutTest, EveryFieldHasTheListedNameTypeOffsetAndSize) {
  for (const ExpectedFile& file : DataDictionary()) {
    SCOPED_TRACE(file.label);
    EXPECT_EQ(file.schema.label, file.label);
    EXPECT_EQ(file.schema.diskName, file.diskName);
    EXPECT_EQ(file.schema.recordLength, file.recordLength);
    ASSERT_EQ(file.schema.fields.size(), file.fields.size());
    for (std::size_t i = 0; i < file.fields.size(); ++i) {
      const fields::FieldDef& actual = file.schema.fields[i];
      const ExpectedField& expected = file.fields[i];
      EXPECT_EQ(actual.name, expected.name);
      EXPECT_EQ(actual.type, expected.type) << expected.name;
      EXPECT_EQ(actual.offset, expected.offset) << expected.name;
      EXPECT_EQ(actual.size, expected.size) << expected.name;
    }
  }
}

// Size alone does not tell decimal(7,2) from decimal(7,3): the places scale
// every weight and price, so each packed decimal is listed with both.
TEST(RecordLayoutTest, EveryPackedDecimalHasTheListedDigitsAndPlaces) {
  struct ExpectedDecimal {
    std::string_view name;
    std::uint8_t digits;
    std::uint8_t places;
  };
  std::vector<ExpectedDecimal> expected = {
      {"A5E:NETTOVAEGT", 7, 3}, {"HIS:VAEGTIALT", 9, 2},    {"HIS:UDLEVERET", 9, 2},
      {"PRO:NETTOVAEGT", 7, 3}, {"OLI:ANTALORDRET", 9, 3},  {"OLI:PRIS", 9, 2},
      {"OLI:IALT", 9, 2},       {"OLI:ANTALLEVERET", 9, 3}, {"SPC:KG", 7, 4},
      {"PRD:PRIS1", 7, 2},      {"PRD:PRIS2", 7, 2},        {"PRD:PRIS3", 7, 2},
      {"PRD:PRIS4", 7, 2},      {"PRD:PRIS5", 7, 2},        {"PRD:PRIS6", 7, 2},
      {"PRD:PRIS7", 7, 2},      {"PRD:PRIS8", 7, 2},        {"PRD:PRIS9", 7, 2},
      {"PRD:PRIS10", 7, 2},     {"PRD:PRIS11", 7, 2},       {"PRD:PRIS12", 7, 2},
  };
  std::size_t decimalsSeen = 0;
  for (const storage::FileSchema* schema : kFilesInCreationOrder) {
    for (const fields::FieldDef& field : schema->fields) {
      if (field.type != FieldType::kDecimal) continue;
      ++decimalsSeen;
      const auto listed =
          std::find_if(expected.begin(), expected.end(),
                       [&](const ExpectedDecimal& decimal) { return decimal.name == field.name; });
      ASSERT_NE(listed, expected.end()) << field.name << " is not a packed decimal";
      EXPECT_EQ(field.digits, listed->digits) << field.name;
      EXPECT_EQ(field.places, listed->places) << field.name;
    }
  }
  EXPECT_EQ(decimalsSeen, expected.size());
}

struct ExpectedKey {
  std::string_view label;
  std::vector<std::string_view> components;
  bool unique;
  bool skipsBlanks;
  bool primary;
};

TEST(RecordLayoutTest, KeysHaveTheListedComponentsAndKinds) {
  const struct {
    const storage::FileSchema& schema;
    std::vector<ExpectedKey> keys;
  } files[] = {
      {a5etiket::kSchema,
       {{"A5E:KeySSCC", {"A5E:SSCC"}, false, true, false},
        {"A5E:KeyProduktid", {"A5E:PRODUKTID"}, false, true, false}}},
      {historik::kSchema,
       {{"HIS:ProdukNrKey", {"HIS:PRODUKTID"}, false, false, false},
        {"HIS:VejeIdKey", {"HIS:VEJEID"}, false, false, false},
        {"HIS:DatoIdkey", {"HIS:DATO", "HIS:PRODUKTID"}, false, false, false},
        {"HIS:FakturaKey", {"HIS:SSCC"}, false, false, false},
        {"HIS:Brugekey", {"HIS:BRUGER"}, false, false, false},
        {"HIS:UdKey", {"HIS:UDSKREVET"}, false, false, false},
        {"HIS:Telefonkey", {"HIS:KUNDENR"}, false, false, false},
        {"HIS:VarenrKey", {"HIS:VARENR", "HIS:DATO"}, false, false, false}}},
      {bruger::kSchema, {{"BRU:Keyinit", {"BRU:INIT"}, true, true, false}}},
      {produkt::kSchema,
       {{"PRO:IDKey", {"PRO:PRODUKTID"}, true, false, true},
        {"PRO:NavneKey", {"PRO:PRODUKTNAVN"}, false, false, false}}},
      {produkt_extended::kSchema,
       {{"PRd:VareKey", {"PRD:TYPE"}, false, false, false},
        {"PRd:IDKey", {"PRD:PRODUKTID"}, true, false, true},
        {"PRd:NavneKey", {"PRD:PRODUKTNAVN"}, false, false, false},
        {"PRd:Gruppekey", {"PRD:GRUPPE", "PRD:TYPE"}, false, false, false}}},
      {ordrehoved::kSchema,
       {{"ORD:KeyKundeid", {"ORD:KUNDEID"}, false, false, false},
        {"ORD:KeyOrdrenummer", {"ORD:ORDRENUMMER"}, true, false, true},
        {"ORD:Statuskey", {"ORD:ORDRESTATUS"}, false, false, false},
        {"ORD:Udskriv", {"ORD:UDSKRIVES", "ORD:ORDRETYPE", "ORD:ORDRESTATUS"}, false, false, false},
        {"ORD:KeyKunOrd", {"ORD:KUNDEID", "ORD:ORDRESTATUS"}, false, false, false}}},
      {adresser::kSchema,
       {{"ADR:KeyTelefon", {"ADR:TELEFON"}, true, false, false},
        {"ADR:KeyNavnGrp", {"ADR:PRISGRUPPE", "ADR:NAVN"}, false, true, false},
        {"ADR:KeyNavn", {"ADR:NAVN"}, false, false, false},
        {"ADR:Keyprisgruppe", {"ADR:PRISGRUPPE"}, false, false, false}}},
      {prisgrp::kSchema, {{"PRS:KeyPrisgruppe", {"PRS:PRISGRUPPE"}, true, true, false}}},
      {ordrelinier::kSchema,
       {{"OLI:Ordrenrkey", {"OLI:ORDRENUMMER"}, false, false, false},
        {"OLI:ProduktKey", {"OLI:VARENR"}, false, false, false},
        {"OLI:OrdreVareKey", {"OLI:ORDRENUMMER", "OLI:VARENR"}, false, false, false}}},
      {ordrespec::kSchema,
       {{"spc:KeyVarekey", {"SPC:VARENR"}, false, false, false},
        {"spc:Ordrenrkey", {"SPC:ORDRENR"}, false, false, false},
        {"spc:indivkey", {"SPC:UDSKREVET", "SPC:INDIVID"}, true, false, false}}},
      {firma::kSchema, {}},
      {printer::kSchema, {}},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.schema.label);
    ASSERT_EQ(file.schema.keys.size(), file.keys.size());
    for (std::size_t i = 0; i < file.keys.size(); ++i) {
      const storage::KeyDef& actual = file.schema.keys[i];
      const ExpectedKey& expected = file.keys[i];
      EXPECT_EQ(actual.label, expected.label);
      ASSERT_EQ(actual.componentCount(), expected.components.size()) << expected.label;
      for (std::size_t c = 0; c < expected.components.size(); ++c) {
        EXPECT_EQ(actual.components[c], expected.components[c]) << expected.label;
      }
      EXPECT_EQ(actual.unique, expected.unique) << expected.label;
      EXPECT_EQ(actual.skipsBlanks, expected.skipsBlanks) << expected.label;
      EXPECT_EQ(actual.primary, expected.primary) << expected.label;
    }
  }
}

TEST(RecordLayoutTest, MemosAndCreationOrder) {
  ASSERT_EQ(historik::kSchema.memos.size(), 1u);
  EXPECT_EQ(historik::kMemos[historik::kBem].label, "HIS:Bem");
  EXPECT_EQ(historik::kMemos[historik::kBem].maxLength, 200u);
  EXPECT_EQ(produkt_extended::kMemos[produkt_extended::kBem].label, "PRd:Bem");
  EXPECT_EQ(produkt_extended::kMemos[produkt_extended::kBem].maxLength, 200u);
  EXPECT_EQ(ordrehoved::kMemos[ordrehoved::kFejlbeskrivelse].maxLength, 200u);
  EXPECT_EQ(ordrehoved::kMemos[ordrehoved::kFolgetekst].label, "ORD:Folgetekst");
  EXPECT_EQ(ordrehoved::kMemos[ordrehoved::kFolgetekst].maxLength, 512u);

  const std::string_view order[] = {"Firma",    "Ordrespec",  "Ordrelinier", "Prisgrp",
                                    "Adresser", "Ordrehoved", "Printer",     "PRODUcT",
                                    "Produkt",  "Bruger",     "HISTORIK",    "A5etiket"};
  ASSERT_EQ(std::size(order), kFilesInCreationOrder.size());
  for (std::size_t i = 0; i < std::size(order); ++i) {
    EXPECT_EQ(kFilesInCreationOrder[i]->label, order[i]);
  }
}

}  // namespace
}  // namespace paltrix::records
