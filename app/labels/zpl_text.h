#pragma once

#include <string>
#include <string_view>

// How text reaches a ZPL stream. Every field of our labels that carries record
// or operator text is a "^FH" field, in which "_" followed by two hex digits
// stands for one byte; that is how such text is made to print literally and
// never to act as a command.
namespace paltrix::labels {

// Trailing blanks removed and the Danish letters æ Æ ø Ø å Å (Windows-1252 E6
// C6 F8 D8 E5 C5) replaced by their code page 850 bytes 91 92 9B 9D 86 8F,
// which character set 0 of the printer prints. Other bytes pass unchanged.
std::string ToPrinterCodePage(std::string_view windows1252);

// Text for the data of a "^FH" field: "^", "~", "_", the control bytes below
// 0x20 and 0x7F are written as "_" and two upper-case hex digits; every other
// byte (the code page 850 letters included) passes as it is.
std::string EscapeHexField(std::string_view text);

}  // namespace paltrix::labels
