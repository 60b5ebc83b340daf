// Small helpers the transfers and the terminal share: folder creation and text searches.

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "tavix32.h"

namespace {

char FoldAsciiLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int32_t MakeDir(const char* path) {
  if (path == nullptr || path[0] == '\0' || path[0] == ' ') return 1;
  std::string native(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  std::error_code error;
  std::filesystem::create_directories(native, error);
  return std::filesystem::is_directory(native, error) ? 0 : 1;
}

extern "C" int16_t StrWord(const char* text, const char* word) {
  if (text == nullptr || word == nullptr) return 0;
  const std::size_t textLength = std::strlen(text);
  const std::size_t wordLength = std::strlen(word);
  if (textLength == 0 || wordLength == 0 || wordLength > textLength) return 0;
  for (std::size_t start = 0; start + wordLength <= textLength && start < INT16_MAX; ++start) {
    std::size_t matched = 0;
    while (matched < wordLength &&
           FoldAsciiLetter(text[start + matched]) == FoldAsciiLetter(word[matched]))
      ++matched;
    if (matched == wordLength) return static_cast<int16_t>(start + 1);
  }
  return 0;
}

extern "C" int32_t StrHex(const char* text) {
  if (text == nullptr) return 0;
  int32_t value = 0;
  for (int i = 0; i < 4 && text[i] != '\0'; ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0) return 0;
    value = value * 16 + digit;
  }
  return value;
}
