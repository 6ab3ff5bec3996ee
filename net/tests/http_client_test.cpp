// The HTTP client against the tests' loopback server (tools/test_http_server.py).
#include "net/http_client.h"

#include <curl/curl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "tests/support/paths.h"
#include "tests/support/window.h"

namespace {

using efir::test::httpUrl;
using testing::HasSubstr;
using testing::Not;

// The status a GET raises with; -1 when it raises nothing.
int failingStatus(efir::HttpClient& http, const std::string& url) {
  try {
    http.Get(url);
  } catch (const EHttpError& e) {
    return e.StatusCode();
  }
  return -1;
}

TEST(HttpClient, ReturnsTheBodyBytesAsReceived) {
  efir::HttpClient http;
  EXPECT_EQ(http.Get(httpUrl("hello.txt")), "hello from the loopback server\n");

  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  std::ofstream(efir::test::fixturePath("www/bytes.bin"), std::ios::binary) << bytes;
  EXPECT_EQ(http.Get(httpUrl("bytes.bin")), bytes);
}

TEST(HttpClient, RaisesWithTheStatusOfAnAnswerOutside2xx) {
  efir::HttpClient http;
  for (int status : {404, 500, 204}) {
    try {
      std::string body = http.Get(httpUrl("status/" + std::to_string(status)));
      EXPECT_EQ(status, 204) << "no exception for " << status;
    } catch (const EHttpError& e) {
      EXPECT_EQ(e.StatusCode(), status);
      EXPECT_THAT(e.Message(), HasSubstr(std::to_string(status)));
    }
  }
}

TEST(HttpClient, FollowsARedirectOnlyWhenAskedTo) {
  efir::HttpClient http;
  EXPECT_EQ(failingStatus(http, httpUrl("redirect/hello.txt")), 302);
  http.FollowRedirects = true;
  EXPECT_EQ(http.Get(httpUrl("redirect/hello.txt")), "hello from the loopback server\n");
}

TEST(HttpClient, RaisesWithoutStatusWhenNothingListens) {
  efir::HttpClient http;
  http.ConnectTimeout = 2000;
  // Port 1 on the loopback: nothing of ours listens there, and nobody may without privileges.
  EXPECT_EQ(failingStatus(http, "http://127.0.0.1:1/"), 0);
}

TEST(HttpClient, GivesUpOnAStalledAnswerOnlyAfterTheReadTimeOut) {
  struct Case {
    int readTimeout;
    int stallMs;
    bool answered;
  };
  for (const Case& c : {Case{1000, 6000, false}, Case{3000, 1000, true}, Case{0, 1500, true}}) {
    efir::HttpClient http;
    http.ReadTimeout = c.readTimeout;
    std::string url = httpUrl("slow/" + std::to_string(c.stallMs));
    if (c.answered)
      EXPECT_EQ(http.Get(url), "slow\n") << c.readTimeout;
    else
      EXPECT_EQ(failingStatus(http, url), 0) << c.readTimeout;
  }
}

TEST(HttpClient, SendsTheRequestHeaders) {
  efir::HttpClient http;
  http.UserAgent = "EfirTest/1.0 (loopback)";
  std::string headers = http.Get(httpUrl("headers"));
  EXPECT_THAT(headers, HasSubstr("Content-Type: text/html\n"));
  EXPECT_THAT(headers, HasSubstr("Accept: text/html, */*\n"));
  EXPECT_THAT(headers, HasSubstr("User-Agent: EfirTest/1.0 (loopback)\n"));
}

TEST(HttpClient, KeepsCookiesAcrossRequestsUntilCleared) {
  efir::HttpClient http;
  EXPECT_THAT(http.Get(httpUrl("headers")), Not(HasSubstr("Cookie:")));
  http.Get(httpUrl("cookie/set"));
  EXPECT_THAT(http.Get(httpUrl("headers")), HasSubstr("Cookie: efir=crumb\n"));
  EXPECT_THAT(http.Get(httpUrl("headers")), HasSubstr("Cookie: efir=crumb\n"));
  http.ClearCookies();
  EXPECT_THAT(http.Get(httpUrl("headers")), Not(HasSubstr("Cookie:")));

  efir::HttpClient other;
  EXPECT_THAT(other.Get(httpUrl("headers")), Not(HasSubstr("Cookie:")));
}

// The answer to the GET below is held back until a request opens its gate, and only a window
// timer sends that request: the GET can return only if the timer fires while it waits.
struct Gate {
  static inline std::string openUrl;
  static inline int ticks = 0;

  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (++ticks != 1) return;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, openUrl.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION,
                     +[](char*, size_t size, size_t count, void*) { return size * count; });
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
  }
};

TEST(HttpClient, KeepsHandlingWindowMessagesWhileItWaits) {
  efir::test::TestWindow window(100, 50, nullptr);
  Gate::openUrl = httpUrl("open/timer");
  SetTimer(window.handle(), 1, 20, &Gate::onTimer);
  efir::HttpClient http;
  EXPECT_EQ(http.Get(httpUrl("gate/timer")), "opened\n");
  EXPECT_GE(Gate::ticks, 1);
  KillTimer(window.handle(), 1);
}

}  // namespace
