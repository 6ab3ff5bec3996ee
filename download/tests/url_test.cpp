// URL parsing by our rules and by the system's cracker, and asking a URL for its status.
#include "download/url.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include "tests/support/paths.h"

namespace {

using efir::test::httpUrl;

struct ParseCase {
  const char* url;
  const char* protocol;
  const char* user;
  const char* password;
  const char* host;
  int port;
  const char* path;
  const char* document;
  const char* parameters;
  const char* bookmark;
};

TEST(Url, ParseSplitsEveryPart) {
  const ParseCase cases[] = {
      {"http://user:pw@www.host.ru:8080/one/two/doc.name.html?a=1&b=2#mark", "http", "user", "pw",
       "www.host.ru", 8080, "/one/two/", "doc.name.html", "?a=1&b=2", "mark"},
      {"http://www.host.ru/logo.png", "http", "", "", "www.host.ru", 80, "/", "logo.png", "", ""},
      {"http://[::1]:8080/x.html", "http", "", "", "::1", 8080, "/", "x.html", "", ""},
      {"http://www.host.ru/cgi/page.asp=12", "http", "", "", "www.host.ru", 80, "/cgi/", "page.asp",
       "=12", ""},
      {"folder/sub/file.txt", "", "", "", "", 80, "folder/sub/", "file.txt", "", ""},
      {"http://www.host.ru\\dir\\file.gif", "http", "", "", "www.host.ru", 80, "/dir/", "file.gif",
       "", ""},
      {"http://radio", "http", "", "", "radio", 80, "/", "", "", ""},
      {"http://www.host.ru/page.html#top", "http", "", "", "www.host.ru", 80, "/", "page.html", "",
       "top"},
      {"http://:pw@host.ru/a.mp3", "http", "", "", "host.ru", 80, "/", "a.mp3", "", ""},
      {"ftp://host.ru:port/a.mp3", "ftp", "", "", "host.ru", 80, "/", "a.mp3", "", ""},
  };
  for (const ParseCase& c : cases) {
    TUrl url;
    url.Parse(c.url);
    SCOPED_TRACE(c.url);
    EXPECT_EQ(url.Protocol, c.protocol);
    EXPECT_EQ(url.UserPart, c.user);
    EXPECT_EQ(url.PasswordPart, c.password);
    EXPECT_EQ(url.HostName, c.host);
    EXPECT_EQ(url.Port, c.port);
    EXPECT_EQ(url.Path, c.path);
    EXPECT_EQ(url.Document, c.document);
    EXPECT_EQ(url.Parameters, c.parameters);
    EXPECT_EQ(url.Bookmark, c.bookmark);
  }
}

TEST(Url, ParseJoinsTheExtraText) {
  TUrl url;
  url.Parse("http://www.host.ru/one/doc.html?a=1#mark");
  EXPECT_EQ(url.ExtraText, "doc.html?a=1#mark");
}

TEST(Url, TrailingSlashOnlyWhenNoDotFollowsTheLastSlash) {
  EXPECT_EQ(TUrl::AddTrailingSlash("http://radio"), "http://radio/");
  EXPECT_EQ(TUrl::AddTrailingSlash("http://host.ru/dir"), "http://host.ru/dir/");
  EXPECT_EQ(TUrl::AddTrailingSlash("http://host.ru/a.png"), "http://host.ru/a.png");
  EXPECT_EQ(TUrl::AddTrailingSlash("http://host.ru"), "http://host.ru");
  EXPECT_EQ(TUrl::AddTrailingSlash("http://host.ru/"), "http://host.ru/");
}

TEST(Url, TextHelpers) {
  std::string input = "user:pw";
  EXPECT_EQ(efir::url::Fetch(input, ":"), "user");
  EXPECT_EQ(input, "pw");
  EXPECT_EQ(efir::url::Fetch(input, ":"), "pw");
  EXPECT_EQ(input, "");
  input = "a/b";
  EXPECT_EQ(efir::url::Fetch(input, "/", false), "a");
  EXPECT_EQ(input, "a/b");

  EXPECT_EQ(efir::url::RPosText("/", "a/b/c", -1), 4);
  EXPECT_EQ(efir::url::RPosText("/", "a/b/c", 3), 2);
  EXPECT_EQ(efir::url::RPosText("B", "abab", -1), 4);
  EXPECT_EQ(efir::url::RPosText("x", "abab", -1), 0);
  EXPECT_EQ(efir::url::RPosText("abc", "ab", -1), 0);

  EXPECT_EQ(efir::url::FixSlashes("a\\b\\c"), "a/b/c");
  EXPECT_TRUE(efir::url::EndsWith(".png", "logo.png"));
  EXPECT_FALSE(efir::url::EndsWith(".PNG", "logo.png"));
  EXPECT_FALSE(efir::url::EndsWith("long tail", "tail"));
}

TEST(Url, CrackFillsThePartsFromTheSystem) {
  TUrl url;
  std::wstring whole = url.Crack("http://u:p@radio.example:8000/stream/1.mp3?x=1", ICU_ESCAPE);
  EXPECT_EQ(whole, L"http://u:p@radio.example:8000/stream/1.mp3?x=1");
  EXPECT_EQ(url.Protocol, "http");
  EXPECT_EQ(url.HostName, "radio.example");
  EXPECT_EQ(url.Port, 8000);
  EXPECT_EQ(url.UserPart, "u");
  EXPECT_EQ(url.PasswordPart, "p");
  EXPECT_EQ(url.Path, "/stream/1.mp3");
  EXPECT_EQ(url.ExtraText, "?x=1");
}

TEST(Url, CrackRefusesNonsenseAndReportsIt) {
  TUrl url;
  unsigned long reported = 0;
  url.OnError = [&](TObject*, unsigned long code, const std::string&) { reported = code; };
  EXPECT_EQ(url.Crack("not a url", ICU_ESCAPE), L"");
  EXPECT_NE(reported, 0u);
  EXPECT_EQ(url.HostName, "");
  EXPECT_EQ(url.Port, 80);
}

TEST(Url, ReachableMeansStatus200Or401) {
  TUrl url;
  EXPECT_EQ(url.QueryInfo(httpUrl("status/404"), HTTP_QUERY_STATUS_CODE), "404");
  EXPECT_TRUE(url.IsReachable(httpUrl("hello.txt")));
  EXPECT_TRUE(url.IsReachable(httpUrl("status/401")));
  EXPECT_FALSE(url.IsReachable(httpUrl("status/404")));
  EXPECT_FALSE(url.IsReachable(httpUrl("status/500")));
}

TEST(Url, AnUnreachableServerReportsTheSystemError) {
  TUrl url;
  unsigned long reported = 0;
  url.OnError = [&](TObject*, unsigned long code, const std::string&) { reported = code; };
  EXPECT_FALSE(
      url.IsReachable("http://127.0.0.1:" + std::to_string(efir::test::httpPort() + 9) + "/x"));
  EXPECT_NE(reported, 0u);
}

}  // namespace
