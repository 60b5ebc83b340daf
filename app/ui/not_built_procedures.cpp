#include "app/ui/not_built_procedures.h"

#include "app/ui/not_built_window.h"
#include "app/ui/window_record_context.h"

namespace paltrix::app {

void NotBuiltProcedures::RunProductCatalogue(QWidget& frame, records::RecordContext&) {
  NotBuiltWindow window(QStringLiteral("Produkter"), &frame);
  window.exec();
}

QPointer<QWidget> NotBuiltProcedures::StartSettingsWindow(const records::FileRegistry& files) {
  auto* window = new NotBuiltWindow(QStringLiteral("Indstillinger"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  new WindowRecordContext(files, *window);
  window->show();
  return window;
}

}  // namespace paltrix::app
