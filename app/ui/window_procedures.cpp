#include "app/ui/window_procedures.h"

#include "app/ui/product_catalogue_window.h"
#include "app/ui/settings_window.h"

namespace paltrix::app {

void WindowProcedures::RunProductCatalogue(QWidget& frame, records::RecordContext& frameContext) {
  ProductCatalogueWindow catalogue(frameContext, printing_, &frame);
  catalogue.exec();
}

QPointer<QWidget> WindowProcedures::StartSettingsWindow(const records::FileRegistry& files) {
  SettingsWindow* window = SettingsWindow::Start(files, printing_);
  return window;
}

}  // namespace paltrix::app
