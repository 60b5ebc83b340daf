#pragma once

#include "app/ui/frame_procedures.h"

namespace paltrix::app {

// Stands in for the product catalogue and the settings window until they are
// built: each opens a NotBuiltWindow, the catalogue modal on the frame, the
// settings window as an independent top-level window.
class NotBuiltProcedures final : public FrameProcedures {
 public:
  void RunProductCatalogue(QWidget& frame) override;
  QPointer<QWidget> StartSettingsWindow() override;
};

}  // namespace paltrix::app
