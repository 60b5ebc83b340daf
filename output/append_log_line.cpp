#include "output/append_log_line.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "framework/text/windows1252.h"
#include "output/file_descriptor.h"
#include "output/posix_io.h"

namespace paltrix::output {

std::uint8_t AppendLogLine(std::string_view fileName, std::string_view text) {
  const std::string path(text::TrimRight(fileName.substr(0, kMaxLogFileNameLength)));

  // The text is cut, never the line end, so that a long entry cannot swallow
  // the next one.
  std::string line(text.substr(0, kMaxLogLineBytes - kLogLineEnd.size()));
  line += kLogLineEnd;

  if (path.find('\0') != std::string::npos) return kLogFileNotOpened;
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!file.valid()) return kLogFileNotOpened;
  if (::lseek(file.get(), 0, SEEK_END) < 0) return kLogFileEndNotReached;
  if (WriteFully(file.get(), line, /*isSocket=*/false) != line.size()) return kLogLineShort;
  if (!file.Close()) return kLogFileNotClosed;
  return kLogLineWritten;
}

}  // namespace paltrix::output
