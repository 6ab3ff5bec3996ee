// The programs' HTTP/1.1 client: a GET that returns the answer's body as text, with a cookie
// store kept across requests, optional redirect following and connect and read time-outs.
// While a request is out, the calling thread keeps handling its window messages (timers,
// painting, input), so a request made from the GUI thread does not freeze the windows; other
// commands can run in between.
//
//   efir::HttpClient http;
//   http.FollowRedirects = true;
//   http.ClearCookies();
//   std::string body = http.Get("http://example.org/page");  // throws EHttpError
//
// Every request says it carries "text/html" and accepts "text/html, */*". The body is the bytes
// as received; callers convert it where they expect UTF-8.
#pragma once

#include <string>
#include <vector>

#include "framework/exceptions.h"

// A request that did not end in a 2xx answer: the server answered with another status (a 3xx
// too, when redirects are not followed), or no answer came (no connection, a time-out).
class EHttpError : public Exception {
 public:
  EHttpError(const std::string& message, int status) : Exception(message), status_(status) {}
  // The answer's status; 0 when no answer came.
  int StatusCode() const { return status_; }

 private:
  int status_;
};

namespace efir {

class HttpClient {
 public:
  HttpClient();

  int ConnectTimeout = 0;  // milliseconds; 0: the transfer library's default limit
  int ReadTimeout = 0;     // milliseconds the answer may stall; 0: wait without limit
  bool FollowRedirects = false;
  std::string UserAgent;   // empty: none is sent

  // The body of the answer to a GET of `url`; throws EHttpError.
  std::string Get(const std::string& url);

  // Forgets every cookie the answers have set so far.
  void ClearCookies() { cookies_.clear(); }

 private:
  std::vector<std::string> cookies_;  // as the transfer library lists them
};

}  // namespace efir
