// URL texts taken apart: by our own rules (Parse), by the system's cracker (Crack), and asked
// over the network for one HTTP information item (QueryInfo, IsReachable). The download
// component names files after URLs and checks them with it.
//
//   TUrl url;
//   url.Parse("http://user:pw@host.ru:8080/a/b/logo.png?x=1#top");
//   url.HostName;  // "host.ru"   url.Document;  // "logo.png"   url.Port;  // 8080
//   bool up = url.IsReachable("http://host.ru/");  // status 200 or 401
//
// Text is Windows-1251. Nothing raises: failures give empty results and reach OnError.
#pragma once

#include <functional>
#include <string>

#include "framework/component.h"

class TUrl : public TObject {
 public:
  explicit TUrl(const std::string& url = "");

  void Clear();
  void Parse(const std::string& url);
  // The URL as wide text, its parts filled from the system's cracker; empty when it refuses.
  std::wstring Crack(const std::string& url, unsigned long flags);
  // The answer text of one HTTP information level for the URL (a GET without user interface).
  std::string QueryInfo(const std::string& url, unsigned long level);
  bool IsReachable(const std::string& url);

  // Appends "/" when the URL does not end in one and no "." follows its last "/".
  static std::string AddTrailingSlash(const std::string& url);

  std::string UrlText;
  std::string Protocol;
  std::string UserPart;
  std::string PasswordPart;
  std::string HostName;
  std::string Path;
  std::string Document;
  std::string Parameters;
  std::string Bookmark;
  std::string ExtraText;
  int Port = 80;

  std::function<void(TObject* Sender, unsigned long ErrorCode, const std::string& ErrorText)>
      OnError;

 private:
  void DoError(unsigned long code);
};

namespace efir::url {

// The text before the first `delimiter` (all of `input` when there is none); with `remove`
// that text and the delimiter leave `input`.
std::string Fetch(std::string& input, const std::string& delimiter, bool remove = true);
// The 1-based position of the last `sub` that starts at or before `start` (-1: anywhere),
// blind to case; 0 when there is none.
int RPosText(const std::string& sub, const std::string& text, int start);
// Every "\" made "/" (the second byte of a double-byte character is left alone).
std::string FixSlashes(const std::string& text);
bool EndsWith(const std::string& tail, const std::string& text);
bool IsLeadByte(unsigned char byte);

}  // namespace efir::url
