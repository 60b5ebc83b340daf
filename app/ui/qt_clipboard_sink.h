#pragma once

#include <string_view>

#include "app/labels/label_output.h"

namespace paltrix::app {

// Puts a copy of each label stream on the desktop clipboard as text. The
// stream's bytes are read as the Windows code page the program's texts use,
// so the printer code-page letters show as the same characters a copy made
// on the original platform showed. REQUIRES: a QGuiApplication exists.
class QtClipboardSink final : public labels::ClipboardSink {
 public:
  void CopyText(std::string_view stream) override;
};

}  // namespace paltrix::app
