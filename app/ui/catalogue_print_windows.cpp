#include "app/ui/catalogue_print_windows.h"

#include "framework/text/windows1252.h"

namespace paltrix::app {

void CataloguePrintWindows::OpenPrintWindow(QWidget& catalogue, records::RecordContext& context,
                                            dispatch::LabelType type, const QString&) {
  // The print windows keep an AI90 text of their own.
  const auto labelType = static_cast<std::uint8_t>(type);
  if (type == dispatch::LabelType::kMixedPallet) {
    print::OpenMixedPalletWindow(catalogue, context, labelType, services_);
  } else {
    print::OpenPrintDialog(catalogue, context, labelType, services_);
  }
}

void CataloguePrintWindows::PrintDirect(QWidget& catalogue, records::RecordContext& context,
                                        dispatch::LabelType type, const QString& ai90Text) {
  // An AI90 text that Windows-1252 cannot hold is not printed.
  const std::string ai90 = text::FromUtf8(ai90Text.toStdString()).value_or(std::string());
  print::PrintDirect(catalogue, context, static_cast<std::uint8_t>(type), ai90, services_);
}

}  // namespace paltrix::app
