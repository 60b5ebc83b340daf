#include "app/ui/qt_clipboard_sink.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

namespace paltrix::app {
namespace {

TEST(QtClipboardSink, CopiesTheStreamAsTheProgramsCodePageText) {
  QtClipboardSink sink;
  // "Rødkål" after the letter conversion: ø is 9B and å is 86.
  sink.CopyText(
      "^XA^FDR\x9B"
      "dk\x86l^FS^XZ");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "^XA^FDR›dk†l^FS^XZ");
}

}  // namespace
}  // namespace paltrix::app
