#include "net/http_request.h"

#include <gtest/gtest.h>

#include <string>

namespace paltrix::net {
namespace {

constexpr const char* kFixedHeaders =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
    "Accept-Language: en\r\n"
    "User-Agent: Mozilla/5.0 (Windows; U; Windows NT 6.0; en-US; rv:1.9.2.16) Gecko/20110319 "
    "Firefox/3.6.16 ( .NET CLR 3.5.30729; .NET4.0C)\r\n";

std::string Expected(std::string_view target, std::string_view host) {
  return "GET " + std::string(target) + " HTTP/1.0\r\n" + kFixedHeaders +
         "Host: " + std::string(host) + "\r\nConnection: Keep-Alive\r\n\r\n";
}

std::string BytesFor(std::string_view url) {
  Result<HttpGetRequest> request = MakeHttpGetRequest(url);
  EXPECT_TRUE(request.ok()) << url;
  return request.ok() ? RequestBytes(*request) : std::string();
}

TEST(HttpRequestTest, NormalisesBlanksBackslashesSchemeAndBareHosts) {
  struct Case {
    const char* url;
    const char* normalised;
  };
  const Case cases[] = {
      {"http://h/a b/ZPL 6-1", "http://h/a%20b/ZPL%206-1"},
      {"http://h\\x\\y", "http://h/x/y"},
      {"h.example/x", "http://h.example/x"},
      {"HTTPS://h.example", "HTTPS://h.example/"},
      {"hTTp://h.example/", "hTTp://h.example/"},
      {"h.example", "http://h.example/"},
      // Three slashes already: the URL has a path and is left as it is.
      {"http://h/a", "http://h/a"},
      // Nothing but blanks, backslashes and control characters is encoded.
      {"http://h/%41?q=#f\"<>", "http://h/%41?q=#f\"<>"},
      {"http://h/1\r\nX: y", "http://h/1%0D%0AX:%20y"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormaliseUrl(c.url), c.normalised) << c.url;
}

TEST(HttpRequestTest, RequestLineAndHeadersForTheLabelServiceUrls) {
  // An empty GTIN leaves two hyphens; the blank of "ZPL 6" is sent as %20.
  EXPECT_EQ(BytesFor("http://labels.example/s/service.svc/printactivity/id/ZPL 6--2-3"),
            Expected("/s/service.svc/printactivity/id/ZPL%206--2-3", "labels.example"));
  // Ports 80, 443 and 0 leave the Host line bare; any other is appended.
  EXPECT_EQ(BytesFor("http://labels.example:80/x"), Expected("/x", "labels.example"));
  EXPECT_EQ(BytesFor("https://labels.example:443/x"), Expected("/x", "labels.example"));
  EXPECT_EQ(BytesFor("http://labels.example:0/x"), Expected("/x", "labels.example"));
  EXPECT_EQ(BytesFor("http://labels.example:8080/x"), Expected("/x", "labels.example:8080"));
  // A bare host asks for "/".
  EXPECT_EQ(BytesFor("labels.example:81"), Expected("/", "labels.example:81"));
}

TEST(HttpRequestTest, RefusesUrlsWithoutServerOrWithBadPort) {
  for (const char* url :
       {"", "http:///x", "http://:80/x", "http://h:http/x", "http://h:70000/", "http://h:/x"}) {
    EXPECT_EQ(MakeHttpGetRequest(url).status().code(), ErrorCode::kInvalidValue) << url;
  }
}

}  // namespace
}  // namespace paltrix::net
