#pragma once

#include <QPointer>
#include <QWidget>

#include "app/records/file_registry.h"
#include "app/records/record_context.h"

namespace paltrix::app {

// The procedures the main frame's toolbar starts. The frame owns none of
// their windows beyond what is stated here.
class FrameProcedures {
 public:
  virtual ~FrameProcedures() = default;

  // Runs the product catalogue on the frame's thread, with the frame's record
  // context: returns when the catalogue closes.
  virtual void RunProductCatalogue(QWidget& frame, records::RecordContext& frameContext) = 0;

  // Starts the settings window as an independent top-level window with a
  // record context of its own over `files`, and returns at once. The window
  // deletes itself when closed; the returned pointer lets the frame close it
  // when the program ends.
  virtual QPointer<QWidget> StartSettingsWindow(const records::FileRegistry& files) = 0;
};

}  // namespace paltrix::app
