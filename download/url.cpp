#include "download/url.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "download/inet_handle.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/io_error.h"
#include "framework/text_encoding.h"
#include "framework/text_utils.h"

namespace efir::url {

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(1251, byte) != 0; }

std::string Fetch(std::string& input, const std::string& delimiter, bool remove) {
  size_t at = input.find(delimiter);
  if (at == std::string::npos) {
    std::string all = input;
    if (remove) input.clear();
    return all;
  }
  std::string head = input.substr(0, at);
  if (remove) input.erase(0, at + delimiter.size());
  return head;
}

int RPosText(const std::string& sub, const std::string& text, int start) {
  int length = static_cast<int>(text.size());
  int subLength = static_cast<int>(sub.size());
  if (start == -1) start = length;
  start = std::min(start, length - subLength + 1);
  for (int at = start; at >= 1; --at)
    if (AnsiCompareText(std::string_view(text).substr(at - 1, subLength), sub) == 0) return at;
  return 0;
}

std::string FixSlashes(const std::string& text) {
  std::string fixed = text;
  for (size_t i = 0; i < fixed.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(fixed[i]))) {
      ++i;
    } else if (fixed[i] == '\\') {
      fixed[i] = '/';
    }
  }
  return fixed;
}

bool EndsWith(const std::string& tail, const std::string& text) {
  if (text.size() < tail.size()) return false;
  size_t from = text.size() - tail.size();
  // A tail that would start on the second byte of a double-byte character does not match.
  for (size_t i = 0; i < from; ++i)
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && ++i == from) return false;
  return text.compare(from, tail.size(), tail) == 0;
}

}  // namespace efir::url

using namespace efir::url;

TUrl::TUrl(const std::string& url) {
  if (!url.empty()) UrlText = url;
}

void TUrl::Clear() {
  UrlText.clear();
  Protocol.clear();
  UserPart.clear();
  PasswordPart.clear();
  HostName.clear();
  Path.clear();
  Document.clear();
  Parameters.clear();
  Bookmark.clear();
  ExtraText.clear();
  Port = 80;
}

std::string TUrl::AddTrailingSlash(const std::string& url) {
  if (url.empty() || url.back() == '/') return url;
  size_t slash = url.rfind('/');
  size_t dot = url.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return url + "/";
  return url;
}

void TUrl::Parse(const std::string& url) {
  Clear();
  UrlText = url;
  std::string rest = FixSlashes(AddTrailingSlash(url));
  size_t scheme = rest.find("://");
  bool absolute = scheme != std::string::npos;
  if (absolute) {
    Protocol = rest.substr(0, scheme);
    rest.erase(0, scheme + 3);
    std::string authority = Fetch(rest, "/");
    if (authority.find('@') != std::string::npos) {
      std::string credentials = Fetch(authority, "@");
      UserPart = Fetch(credentials, ":");
      PasswordPart = UserPart.empty() ? "" : credentials;
    }
    std::string portText;
    size_t open = authority.find('[');
    size_t close = authority.find(']');
    if (open != std::string::npos && close != std::string::npos && open < close) {
      HostName = authority.substr(open + 1, close - open - 1);
      size_t colon = authority.find(':', close);
      if (colon != std::string::npos) portText = authority.substr(colon + 1);
    } else {
      HostName = Fetch(authority, ":");
      portText = authority;
    }
    Port = efir::StrToIntDef(portText, 80);
  }

  size_t split = rest.find('?');
  if (split == std::string::npos) split = rest.find('=');
  int q = split == std::string::npos ? 0 : static_cast<int>(split) + 1;
  int a = RPosText("/", rest, q ? q : -1);
  Path = (absolute ? "/" : "") + rest.substr(0, static_cast<size_t>(a));
  Document = q ? rest.substr(0, static_cast<size_t>(q - 1)) : rest;
  Parameters = q ? rest.substr(static_cast<size_t>(q - 1)) : "";
  Document.erase(0, static_cast<size_t>(a));

  size_t hash = Document.find('#');
  if (absolute && hash != std::string::npos) {
    Bookmark = Document.substr(hash + 1);
    Document.erase(hash);
  }
  hash = Parameters.find('#');
  if (Bookmark.empty() && hash != std::string::npos) {
    Bookmark = Parameters.substr(hash + 1);
    Parameters.erase(hash);
  }
  ExtraText = Document + Parameters + (Bookmark.empty() ? "" : "#" + Bookmark);
}

std::wstring TUrl::Crack(const std::string& url, unsigned long flags) {
  Clear();
  UrlText = AddTrailingSlash(url);
  wchar_t scheme[33] = {}, host[257] = {}, user[129] = {}, password[129] = {};
  wchar_t path[2049] = {}, extra[2056] = {};
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszScheme = scheme;
  parts.dwSchemeLength = 32;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUserName = user;
  parts.dwUserNameLength = 128;
  parts.lpszPassword = password;
  parts.dwPasswordLength = 128;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2055;
  std::wstring wide = efir::text::fromAnsi(url);
  if (!InternetCrackUrlW(wide.c_str(), 0, flags, &parts)) {
    DWORD code = GetLastError();
    Clear();
    DoError(code);
    return {};
  }
  using efir::text::toAnsi;
  HostName = toAnsi(host);
  Protocol = toAnsi(scheme);
  Path = toAnsi(path);
  Port = parts.nPort;
  ExtraText = toAnsi(extra);
  UserPart = toAnsi(user);
  PasswordPart = toAnsi(password);
  return wide;
}

std::string TUrl::QueryInfo(const std::string& url, unsigned long level) {
  efir::InetHandle session(InternetOpenW(efir::text::fromAnsi(Application.Title()).c_str(),
                                         INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr,
                                         nullptr, 0));
  efir::InetHandle request(session
                               ? InternetOpenUrlW(session.get(), efir::text::fromAnsi(url).c_str(),
                                                  nullptr, 0, INTERNET_FLAG_NO_UI, 0)
                               : nullptr);
  if (!request) {
    DoError(GetLastError());
    return "";
  }
  wchar_t answer[513] = {};
  DWORD size = sizeof(answer) - sizeof(wchar_t);
  if (!HttpQueryInfoW(request.get(), level, answer, &size, nullptr)) return "";
  return efir::text::toAnsi(answer);
}

bool TUrl::IsReachable(const std::string& url) {
  std::string status = QueryInfo(url, HTTP_QUERY_STATUS_CODE);
  return status == "200" || status == "401";
}

void TUrl::DoError(unsigned long code) {
  std::string message = efir::SystemErrorMessage(code);
  OutputDebugStringW(efir::text::fromAnsi(message).c_str());
  if (OnError) OnError(this, code, message);
}
