#include "app/ui/window_record_context.h"

namespace paltrix::app {

WindowRecordContext::WindowRecordContext(const records::FileRegistry& files, QObject& window)
    : QObject(&window), context_(files) {
  setObjectName("RecordContext");
}

WindowRecordContext::WindowRecordContext(const records::FileRegistry& files) : context_(files) {
  setObjectName("RecordContext");
}

}  // namespace paltrix::app
