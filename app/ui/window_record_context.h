#pragma once

#include <QObject>

#include "app/records/file_registry.h"
#include "app/records/record_context.h"

namespace paltrix::app {

// The record context of a window that runs on its own (the settings window):
// its own buffers and handles for the keyed files, alive exactly as long as
// the window. Object name "RecordContext".
class WindowRecordContext final : public QObject {
  Q_OBJECT

 public:
  // REQUIRES: `files` outlives the window.
  WindowRecordContext(const records::FileRegistry& files, QObject& window);
  // Without a window yet, for a window that needs its context while it is
  // built: the window takes it over with setParent() right after.
  explicit WindowRecordContext(const records::FileRegistry& files);

  records::RecordContext& context() { return context_; }

 private:
  records::RecordContext context_;
};

}  // namespace paltrix::app
