#pragma once

#include <cstdint>
#include <string_view>

namespace paltrix::output {

enum AppendLogLineResult : std::uint8_t {
  kLogLineWritten = 0,
  kLogFileNotOpened = 1,  // could neither be opened nor created
  kLogLineShort = 2,      // fewer bytes written than the line holds
  kLogFileNotClosed = 3,
  kLogFileEndNotReached = 4,
};

// Text files kept in the Windows form: every line ends in CR LF.
inline constexpr std::string_view kLogLineEnd = "\r\n";
// A line (with its CR LF) never exceeds this many bytes; longer text is cut.
inline constexpr std::size_t kMaxLogLineBytes = 500;
// Only this many characters of the file name are used.
inline constexpr std::size_t kMaxLogFileNameLength = 143;

// Appends text and CR LF to the file fileName (trailing blanks removed),
// creating the file when it does not exist. The file is closed again on
// every path once it was opened.
std::uint8_t AppendLogLine(std::string_view fileName, std::string_view text);

}  // namespace paltrix::output
