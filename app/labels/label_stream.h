#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Assembles one label stream field by field. The layouts hand in their
// commands as literal text; whatever comes from records or the operator goes
// through TextField or BarcodeField, which make it print literally.
namespace paltrix::labels {

class LabelStream {
 public:
  // Starts the stream with the printer set-up preamble, for a label
  // `labelWidth` dots wide (barcode_fit.h).
  LabelStream(std::string preamble, std::int32_t labelWidth)
      : stream_(std::move(preamble)), labelWidth_(labelWidth) {}

  // Commands written exactly as given (fixed layout text only).
  void Commands(std::string_view commands) { stream_ += commands; }

  // prefix (ending in "^FH^FD"), the text hex-escaped, "^FS".
  void TextField(std::string_view prefix, std::string_view text);

  // command (ending in "^FD"), the barcode field data, "^FS"; the data is
  // hex-escaped like a text field when the command holds "^FH". A Code 128
  // command gets the narrow-bar width at which its symbol fits the label
  // (FitBarcodeCommand).
  // REQUIRES: data holds no "^", "~" or control byte (the GS1 barcode data
  // writes those characters of operator text as invocation codes or refuses
  // them).
  void BarcodeField(std::string_view command, std::string_view data);

  // Ends the label with "^PQ" copies ",0,1,N^XZ" and returns the stream.
  std::string Finish(std::int32_t copies) &&;

 private:
  std::string stream_;
  std::int32_t labelWidth_;
};

}  // namespace paltrix::labels
