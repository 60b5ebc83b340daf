#include "app/ui/not_built_procedures.h"

#include "app/ui/not_built_window.h"

namespace paltrix::app {

void NotBuiltProcedures::RunProductCatalogue(QWidget& frame) {
  NotBuiltWindow window(QStringLiteral("Produkter"), &frame);
  window.exec();
}

QPointer<QWidget> NotBuiltProcedures::StartSettingsWindow() {
  auto* window = new NotBuiltWindow(QStringLiteral("Indstillinger"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  return window;
}

}  // namespace paltrix::app
