#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/result.h"

// The HTTP GET the program sends, as bytes: the URL normalised the way the
// program's HTTP client always has, and the request line and header lines it
// sends for it.
namespace paltrix::net {

// Normalises a URL before it is requested:
// - every blank becomes "%20" and every backslash "/";
// - a URL that starts with neither "http://" nor "https://" (any case) gets
//   "http://" in front;
// - a URL that does not end in "/" and holds fewer than three "/" in all (a
//   bare host) gets "/" appended.
// Control characters (below 32, and 127) become "%XX" as well, so that text
// from a record can never end the request line or add a header. Nothing else
// is encoded.
std::string NormaliseUrl(std::string_view url);

// Where a normalised URL points, and the request for it.
struct HttpGetRequest {
  std::string host;
  int port = 80;  // as given in the URL, else 80 (http) or 443 (https)
  bool https = false;
  std::string target;                    // the request line's path: from the first "/" after the
                                         // scheme to the end; "/" when the URL has no path
  std::vector<std::string> headerLines;  // "Name: value", in the order sent
};

// The request for `url` (normalised first): the header lines are, in this
// order, Accept, Accept-Language, User-Agent, Host (the port only when it is
// not 0, 80 or 443) and "Connection: Keep-Alive". Fails with kInvalidValue
// for an empty URL, a missing host or a port that is not a number 0..65535.
Result<HttpGetRequest> MakeHttpGetRequest(std::string_view url);

// The bytes of the request as it goes on the wire: "GET <target> HTTP/1.0",
// each header line, an empty line; every line ends in CR LF.
std::string RequestBytes(const HttpGetRequest& request);

}  // namespace paltrix::net
