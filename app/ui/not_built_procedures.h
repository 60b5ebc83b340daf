#pragma once

#include "app/ui/frame_procedures.h"

namespace paltrix::app {

// Stands in for the product catalogue and the settings window until they are
// built: each opens a NotBuiltWindow, the catalogue modal on the frame, the
// settings window as an independent top-level window with its own record
// context.
class NotBuiltProcedures final : public FrameProcedures {
 public:
  void RunProductCatalogue(QWidget& frame, records::RecordContext& frameContext) override;
  QPointer<QWidget> StartSettingsWindow(const records::FileRegistry& files) override;
};

}  // namespace paltrix::app
