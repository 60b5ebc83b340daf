#pragma once

#include "app/ui/catalogue_printing.h"
#include "app/ui/frame_procedures.h"

namespace paltrix::app {

// The frame's procedures: the product catalogue, modal on the frame with the
// frame's record context, and the settings window "Firma data", a top-level
// window of its own with its own record context.
class WindowProcedures final : public FrameProcedures {
 public:
  // REQUIRES: `printing` outlives the procedures and every window they start.
  explicit WindowProcedures(CataloguePrinting& printing) : printing_(printing) {}

  void RunProductCatalogue(QWidget& frame, records::RecordContext& frameContext) override;
  QPointer<QWidget> StartSettingsWindow(const records::FileRegistry& files) override;

 private:
  CataloguePrinting& printing_;
};

}  // namespace paltrix::app
