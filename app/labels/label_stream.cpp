#include "app/labels/label_stream.h"

#include <fmt/format.h>

#include "app/labels/barcode_fit.h"
#include "app/labels/zpl_text.h"

namespace paltrix::labels {

void LabelStream::TextField(std::string_view prefix, std::string_view text) {
  stream_ += prefix;
  stream_ += EscapeHexField(text);
  stream_ += "^FS";
}

void LabelStream::BarcodeField(std::string_view command, std::string_view data) {
  stream_ += FitBarcodeCommand(command, data, labelWidth_);
  if (command.find("^FH") == std::string_view::npos) {
    stream_ += data;
  } else {
    stream_ += EscapeHexField(data);
  }
  stream_ += "^FS";
}

std::string LabelStream::Finish(std::int32_t copies) && {
  fmt::format_to(std::back_inserter(stream_), "^PQ{},0,1,N^XZ", copies);
  return std::move(stream_);
}

}  // namespace paltrix::labels
