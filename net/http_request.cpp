#include "net/http_request.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>

namespace paltrix::net {
namespace {

constexpr std::string_view kHttpScheme = "http://";
constexpr std::string_view kHttpsScheme = "https://";

constexpr std::string_view kAccept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
constexpr std::string_view kAcceptLanguage = "en";
constexpr std::string_view kUserAgent =
    "Mozilla/5.0 (Windows; U; Windows NT 6.0; en-US; rv:1.9.2.16) Gecko/20110319 Firefox/3.6.16 "
    "( .NET CLR 3.5.30729; .NET4.0C)";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(a) == lower(b);
         });
}

}  // namespace

std::string NormaliseUrl(std::string_view url) {
  std::string normalised;
  normalised.reserve(url.size() + kHttpScheme.size() + 1);
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ' ') {
      normalised += "%20";
    } else if (c == '\\') {
      normalised += '/';
    } else if (byte < 32 || byte == 127) {
      normalised += fmt::format("%{:02X}", byte);
    } else {
      normalised += c;
    }
  }
  if (!StartsWithIgnoringCase(normalised, kHttpScheme) &&
      !StartsWithIgnoringCase(normalised, kHttpsScheme)) {
    normalised.insert(0, kHttpScheme);
  }
  if (!normalised.ends_with('/') && std::ranges::count(normalised, '/') < 3) normalised += '/';
  return normalised;
}

Result<HttpGetRequest> MakeHttpGetRequest(std::string_view url) {
  if (url.empty()) return Status(ErrorCode::kInvalidValue, "The report URL is empty.");
  const std::string normalised = NormaliseUrl(url);
  HttpGetRequest request;
  request.https = StartsWithIgnoringCase(normalised, kHttpsScheme);
  const std::string_view rest =
      std::string_view(normalised).substr(request.https ? kHttpsScheme.size() : kHttpScheme.size());
  const std::size_t pathStart = rest.find('/');
  const std::string_view authority = rest.substr(0, pathStart);
  request.target = pathStart == std::string_view::npos ? "/" : std::string(rest.substr(pathStart));

  const std::size_t colon = authority.rfind(':');
  request.host = std::string(authority.substr(0, colon));
  request.port = request.https ? 443 : 80;
  if (colon != std::string_view::npos) {
    const std::string_view portText = authority.substr(colon + 1);
    int port = -1;
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() ||
        port < 0 || port > 65535) {
      return Status(ErrorCode::kInvalidValue,
                    fmt::format("The report URL \"{}\" has no valid port.", normalised));
    }
    request.port = port;
  }
  if (request.host.empty()) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The report URL \"{}\" names no server.", normalised));
  }

  const bool defaultPort = request.port == 0 || request.port == 80 || request.port == 443;
  request.headerLines = {
      fmt::format("Accept: {}", kAccept),
      fmt::format("Accept-Language: {}", kAcceptLanguage),
      fmt::format("User-Agent: {}", kUserAgent),
      defaultPort ? fmt::format("Host: {}", request.host)
                  : fmt::format("Host: {}:{}", request.host, request.port),
      "Connection: Keep-Alive",
  };
  return request;
}

std::string RequestBytes(const HttpGetRequest& request) {
  std::string bytes = fmt::format("GET {} HTTP/1.0\r\n", request.target);
  for (const std::string& line : request.headerLines) bytes += line + "\r\n";
  bytes += "\r\n";
  return bytes;
}

}  // namespace paltrix::net
