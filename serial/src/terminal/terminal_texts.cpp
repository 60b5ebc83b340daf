// The terminal's result texts and protocol names.

#include <strings.h>

#include <array>
#include <string>

#include "tavix32.h"
#include "terminal/protocol_names.h"

extern "C" int32_t DisplayTermError(int32_t code) {
  static constexpr std::array<const char*, 5> kTexts = {
      "Terminal Successfully Created", "Insufficient Memory for Terminal Structures",
      "Unable to Create Terminal Windows", "Unable To Open Communications Port",
      "UnKnown Terminal Error"};
  const char* text = code >= 0 && code < 4 ? kTexts[code] : kTexts[TAVIX_TERM_UNKNOWN];
  return DisplayMessage(nullptr, "Terminal Error", TAVIX_MB_OK | TAVIX_MB_ICONSTOP, "%s", text);
}

extern "C" int32_t GetProtoNum(const char* name) {
  if (name == nullptr) return -1;
  for (std::size_t i = 0; i < tavix::terminal::kProtocolNames.size(); ++i) {
    if (strcasecmp(name, std::string(tavix::terminal::kProtocolNames[i]).c_str()) == 0) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}
