#pragma once

#include <cstdint>
#include <string>

// Everything a label procedure reads, gathered once by the caller (see
// record_input.h for the adapter from the record buffers and the settings INI
// file). Texts are Windows-1252 without trailing blanks.
namespace paltrix::labels {

// The sending company (Firma).
struct SenderData {
  std::string name;
  std::string address1;
  std::string address2;
  std::int16_t postalCode = 0;
  std::string town;
  std::string phone;
  std::string fax;
};

// The product as edited for this print run (Produkt). On the mixed-pallet
// path bestBefore holds the week number, batch the mix number and description
// the flower order number.
struct ProductData {
  std::string productId;
  std::string name;
  std::string orderNumber;
  std::string gtin;  // as stored: EAN-13 or GTIN-14 digits
  std::string description;
  std::int32_t count = 0;
  std::int32_t bestBefore = 0;  // day number
  std::int64_t netWeightThousandths = 0;
  std::string batch;
  std::uint8_t orderInBarcode = 0;  // 1: the order number may go into the barcode
};

// The printer settings that shape the set-up preamble.
struct PrinterSetup {
  std::string printRate;  // PRI:SPEED as stored
  std::int16_t darkness = 0;
  std::int32_t leftMargin = 0;  // "LMarg"
  std::int32_t topMargin = 0;   // "TMarg"
};

struct LabelInput {
  ProductData product;
  SenderData sender;
  PrinterSetup printer;
  std::string printerName;                    // "Printer": the queue that receives the stream
  std::int32_t waitSeconds = 0;               // "WAIT": pause after each 6-inch pallet
  bool wideNarrow = false;                    // "WideNarrow": one combined mixed-pallet barcode
  std::string mixedCaption = "Mix Cont. Nr";  // "NETAI90"
  std::int32_t pallets = 0;
  std::int32_t labelsPerPallet = 0;
  std::int32_t today = 0;  // day number
};

}  // namespace paltrix::labels
