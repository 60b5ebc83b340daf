#pragma once

#include <optional>
#include <string>
#include <string_view>

// Record text is stored as Windows-1252 bytes. These helpers fold case the way
// every key comparison does (A-Z and the accented letters, so æ/Æ, ø/Ø and å/Å
// meet) and convert to and from UTF-8 at the program's edges.
namespace paltrix::text {

// The upper-case form of one Windows-1252 byte; other bytes are returned as is.
char FoldCase(char c);

// Upper-cases every letter of a Windows-1252 string.
std::string FoldCase(std::string_view text);

// Compares two Windows-1252 strings without regard to case: <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);

// Windows-1252 to UTF-8. The five undefined bytes (81 8D 8F 90 9D) become
// U+FFFD so that nothing is silently dropped.
std::string ToUtf8(std::string_view windows1252);

// UTF-8 to Windows-1252; nullopt when the input is not valid UTF-8 or holds a
// character that Windows-1252 cannot represent.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Text with trailing blanks removed (the form in which blank-padded fields are
// compared and printed).
std::string_view TrimRight(std::string_view text);

}  // namespace paltrix::text
