#pragma once

#include <cstdint>
#include <string>

#include "app/a5/a5_report.h"
#include "framework/result.h"

// What one A5 label page says: its texts, which items it hides and the data
// of its GS1-128 barcodes, formed from a queued label, its product and the
// sending company. Texts are Windows-1252 bytes.
namespace paltrix::a5 {

// One A5etiket record: the run's values of one label.
struct QueuedLabel {
  std::string sscc;                       // A5E:SSCC
  std::string productId;                  // A5E:PRODUKTID
  std::string count;                      // A5E:ANTAL, the count as text
  std::int32_t bestBefore = 0;            // A5E:HOLDBARTIL, a day number; 0 = none
  std::int64_t netWeightThousandths = 0;  // A5E:NETTOVAEGT, kilograms times 1000
  std::string batch;                      // A5E:BATCHNR
  std::string orderNumber;                // A5E:ORDRENR
};

// The product the label refers to (joined through PRO:IDKey).
struct LabelProduct {
  std::string name;                 // PRO:PRODUKTNAVN
  std::string description;          // PRO:ANTALPRKOLLIE
  std::string gtin;                 // PRO:EANNR as stored
  std::uint8_t orderInBarcode = 0;  // PRO:BRUGORDREID
};

// The sending company (the first Firma record).
struct LabelSender {
  std::string name;
  std::string address1;
  std::int16_t postalCode = 0;
  std::string town;
  std::string phone;
  std::string fax;
};

struct PageTexts {
  std::string company;      // FIR:NAVN
  std::string address;      // address, postal code, town (at most 51)
  std::string phone;        // "Tlf.: ... Fax: ..." (at most 40)
  std::string product;      // at most 75
  std::string description;  // at most 35
  std::string sscc;
  std::string count;
  std::string gtin;  // 14 digits
  std::string orderNumber;
  std::string weight;  // signed, two decimals: "12.50"
  std::string batch;
  std::string bestBefore;           // dd.mm.yyyy
  std::string line1, line2, line3;  // the barcodes' human-readable lines (at most 47)
};

// Engine data of each barcode (FNC1 as byte 201); empty when the page has
// no such barcode.
struct PageBarcodes {
  std::string first;
  std::string second;
  std::string sscc;
};

// The per-page hiding rules: false hides the item and its captions.
struct PageVisibility {
  bool weight = true;        // hidden when the weight is 0
  bool bestBefore = true;    // hidden when the best-before date is today (or none)
  bool batch = true;         // hidden when there is no batch
  bool orderCaption = true;  // "Ordre nr." hidden when the order number reads as 0
};

struct PageContent {
  PageTexts texts;
  PageBarcodes barcodes;
  PageVisibility visible;
};

// The content of one page of `report`.
// Barcodes: "Standard" and "Standard_simple" carry the GTIN group ((02)
// GTIN-14 (37) count [(400) order], or (01) GTIN-14 when the count is 0);
// "Standard" adds (15) (3102) (10) when any of them is present; every report
// carries (00) SSCC, "Standard_mix" followed by (400) order. The order number
// goes into a barcode when it is not blank, PRO:BRUGORDREID is 1 and it has
// fewer than 6 characters.
// Fails with kInvalidValue when the label cannot be printed as a barcode: a
// GTIN that is not 1 to 14 digits, an SSCC that is not 18 digits with its
// check digit, a batch or order number with a byte Code 128 cannot carry, a
// weight of 10000 kg or more, a count that is not a whole number up to 999999.
Result<PageContent> BuildPageContent(A5Report report, const QueuedLabel& label,
                                     const LabelProduct& product, const LabelSender& sender,
                                     std::int32_t today);

}  // namespace paltrix::a5
