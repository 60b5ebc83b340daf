#pragma once

#include <QPointer>
#include <QWidget>

namespace paltrix::app {

// The procedures the main frame's toolbar starts. The frame owns none of
// their windows beyond what is stated here.
class FrameProcedures {
 public:
  virtual ~FrameProcedures() = default;

  // Runs the product catalogue on the frame's thread: returns when it closes.
  virtual void RunProductCatalogue(QWidget& frame) = 0;

  // Starts the settings window as an independent top-level window with its own
  // record context and returns at once. The window deletes itself when closed;
  // the returned pointer lets the frame close it when the program ends.
  virtual QPointer<QWidget> StartSettingsWindow() = 0;
};

}  // namespace paltrix::app
