#include "app/labels/sender_lines.h"

#include "app/labels/zpl_text.h"

namespace paltrix::labels {

std::string PhoneLine(const SenderData& sender) {
  std::string line;
  if (!sender.phone.empty()) line = "Tlf.: " + ToPrinterCodePage(sender.phone);
  if (!sender.fax.empty()) {
    line += line.empty() ? "Fax: " : " Fax: ";
    line += ToPrinterCodePage(sender.fax);
  }
  return line;
}

std::string AddressLine(const SenderData& sender) {
  std::string line = ToPrinterCodePage(sender.address1);
  if (!sender.address2.empty()) line += ", " + ToPrinterCodePage(sender.address2);
  return line;
}

std::string TownLine(const SenderData& sender) {
  return std::to_string(sender.postalCode) + " " + ToPrinterCodePage(sender.town);
}

}  // namespace paltrix::labels
