#include "app/ui/qt_clipboard_sink.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "framework/text/windows1252.h"

namespace paltrix::app {

void QtClipboardSink::CopyText(std::string_view stream) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text::ToUtf8(stream)));
}

}  // namespace paltrix::app
