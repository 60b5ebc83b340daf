#include "app/ui/catalogue_print_windows.h"

#include "app/ui/not_built_window.h"

namespace paltrix::app {

void CataloguePrintWindows::OpenPrintWindow(QWidget& catalogue, records::RecordContext&,
                                            dispatch::LabelType, const QString&) {
  NotBuiltWindow window(QStringLiteral("Print data"), &catalogue);
  window.exec();
}

void CataloguePrintWindows::PrintDirect(QWidget& catalogue, records::RecordContext&,
                                        dispatch::LabelType, const QString&) {
  NotBuiltWindow window(QStringLiteral("PRINT"), &catalogue);
  window.exec();
}

}  // namespace paltrix::app
