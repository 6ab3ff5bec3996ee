#include "skin/engine/engine_routines.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <charconv>

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/files.h"
#include "framework/exceptions.h"
#include "framework/picture_icon.h"
#include "framework/text_encoding.h"

namespace efir::skin {

bool RectsOverlap(const RECT& area, const RECT& rect) {
  if (rect.left >= rect.right || rect.top >= rect.bottom) return false;
  return !(area.top >= rect.bottom || area.left >= rect.right || rect.left >= area.right || rect.top >= area.bottom);
}

bool RectContainsRect(const RECT& outer, const RECT& inner) {
  auto inside = [&](LONG x, LONG y) { return x >= outer.left && x <= outer.right && y >= outer.top && y <= outer.bottom; };
  return inside(inner.left, inner.top) && inside(inner.right, inner.bottom);
}

size_t DelimitedWordPos(int n, std::string_view s, std::string_view delimiters) {
  int word = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    bool starts = delimiters.find(s[i]) == std::string_view::npos &&
                  (i == 0 || delimiters.find(s[i - 1]) != std::string_view::npos);
    if (starts && ++word == n) return i + 1;
  }
  return 0;
}

std::string ExtractDelimitedWord(int n, std::string_view s, std::string_view delimiters) {
  size_t pos = DelimitedWordPos(n, s, delimiters);
  if (pos == 0) return {};
  std::string_view rest = s.substr(pos - 1);
  return std::string(rest.substr(0, rest.find_first_of(delimiters)));
}

int DelimitedWordCount(std::string_view s, std::string_view delimiters) {
  int count = 0;
  while (DelimitedWordPos(count + 1, s, delimiters) != 0) ++count;
  return count;
}

std::string DeleteChars(std::string_view s, char ch) {
  std::string result;
  for (char c : s)
    if (c != ch) result += c;
  return result;
}

std::string ReplaceAllSubstr(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string result;
  size_t start = 0;
  for (size_t at; (at = s.find(from, start)) != std::string_view::npos; start = at + from.size()) {
    result.append(s.substr(start, at - start));
    result.append(to);
  }
  result.append(s.substr(start));
  return result;
}

std::string NormalizeDirPath(std::string_view s) {
  std::string path(s);
  if (path.empty() || path.back() == '\\') return path;
  if (path.back() == '/') {
    path.back() = '\\';
    return path;
  }
  return path + (path.size() == 1 ? ":\\" : "\\");
}

namespace {

bool CaptionFont(LOGFONTA& font) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
  font = metrics.lfCaptionFont;
  return true;
}

}  // namespace

int CaptionFontHeight() {
  LOGFONTA font;
  return CaptionFont(font) ? font.lfHeight : 0;
}

HFONT CreateCaptionFont() {
  LOGFONTA font;
  return CaptionFont(font) ? CreateFontIndirectA(&font) : nullptr;
}

void DelayWithMessages(DWORD ms) {
  DWORD start = GetTickCount();
  do Application.ProcessMessages();
  while (GetTickCount() - start < ms);
}

std::unique_ptr<TIcon> LoadShellFileIcon(const std::string& fileName, UINT flags) {
  if (!efir::FileExists(fileName)) return nullptr;
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(fileName.c_str(), 0, &info, sizeof info, flags | SHGFI_ICON) || !info.hIcon) return nullptr;
  auto icon = std::make_unique<TIcon>();
  icon->SetHandle(info.hIcon);
  return icon->Width() > 0 ? std::move(icon) : nullptr;
}

}  // namespace efir::skin

void MakeCacheSourceInfo(TBitmap* bitmap, int x, int y, CacheSourceInfo& info) {
  info = CacheSourceInfo{bitmap, x, y, 0xFF00FF, true};
}

UINT SkinMessageBoxFlags(TMsgDlgType type, TMsgDlgButtons buttons) {
  static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
  UINT flags = icons[type] | MB_TOPMOST | MB_SETFOREGROUND;
  auto has = [&](TMsgDlgButtons b) { return (buttons & b) != 0; };
  if (has(mbOK))
    flags |= has(mbCancel) ? MB_OKCANCEL : MB_OK;
  else if (has(mbAbort) || has(mbIgnore))
    flags |= MB_ABORTRETRYIGNORE;
  else if (has(mbYes) || has(mbNo))
    flags |= has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (has(mbRetry))
    flags |= MB_RETRYCANCEL;
  if (has(mbHelp)) flags |= MB_HELP;
  return flags;
}

const char* DefaultMessageCaption(TMsgDlgType type) {
  static const char* const captions[] = {"Warning", "Error", "Information", "Confirm", ""};
  return captions[type];
}

int DialogPosX = -1, DialogPosY = -1;
int SkinModalLevel = 0;

std::function<int(HWND, const std::string&, const std::string&, UINT)> ShowMessageBoxCall =
    [](HWND owner, const std::string& text, const std::string& caption, UINT flags) {
      return MessageBoxW(owner, efir::text::fromAnsi(text).c_str(), efir::text::fromAnsi(caption).c_str(), flags);
    };

namespace {

// The box's place and the modal state last while it shows, also when it raises.
class MessageBoxScope {
 public:
  MessageBoxScope(int x, int y) {
    DialogPosX = x;
    DialogPosY = y;
    ++SkinModalLevel;
  }
  ~MessageBoxScope() {
    --SkinModalLevel;
    DialogPosX = DialogPosY = -1;
  }
  MessageBoxScope(const MessageBoxScope&) = delete;
  MessageBoxScope& operator=(const MessageBoxScope&) = delete;
};

}  // namespace

int SkinMessageBox(const char* caption, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int x,
                   int y) {
  MessageBoxScope scope(x, y);
  HWND owner = GetActiveWindow();
  if (!owner) owner = Application.Handle();
  return ShowMessageBoxCall(owner, text, caption ? caption : DefaultMessageCaption(type), SkinMessageBoxFlags(type, buttons));
}

int SkinMessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  return SkinMessageBox(nullptr, text, type, buttons, -1, -1);
}

int ShowSkinWarning(const std::string& text) { return SkinMessageDlg(text, mtWarning, mbOK); }
int ShowSkinError(const std::string& text) { return SkinMessageDlg(text, mtError, mbOK); }

namespace {

bool SameBlind(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

TIniSections ParseIniSections(const std::vector<std::string>& lines) {
  TIniSections sections;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
      sections.push_back({line.substr(1, line.size() - 2), {}});
    else if (!sections.empty())
      sections.back().Lines.push_back(line);
  }
  return sections;
}

std::string IniSectionsReadString(const TIniSections& sections, std::string_view section, const std::string& fallback,
                                  std::string_view key) {
  auto found = std::find_if(sections.begin(), sections.end(), [&](const TIniSection& s) { return SameBlind(s.Name, section); });
  if (found == sections.end()) return fallback;
  for (const std::string& line : found->Lines) {
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameBlind(std::string_view(line).substr(0, eq), key)) return line.substr(eq + 1);
  }
  return fallback;
}

int IniSectionsReadInteger(const TIniSections& sections, std::string_view section, int fallback, std::string_view key) {
  std::string value = IniSectionsReadString(sections, section, "", key);
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    int result = 0;
    auto [end, ec] = std::from_chars(value.data() + 2, value.data() + value.size(), result, 16);
    return ec == std::errc() && end == value.data() + value.size() ? result : fallback;
  }
  return efir::StrToIntDef(value, fallback);
}

int SkinFindFirst(const std::string& pattern, TSkinSearchRec& rec) {
  rec.Rest.clear();
  try {
    for (const TSearchRec& entry : efir::FindFiles(pattern)) rec.Rest.emplace_back(entry.Name, entry.Attr);
  } catch (const EInOutError&) {
    return ERROR_PATH_NOT_FOUND;
  }
  std::reverse(rec.Rest.begin(), rec.Rest.end());
  return SkinFindNext(rec);
}

int SkinFindNext(TSkinSearchRec& rec) {
  if (rec.Rest.empty()) return ERROR_NO_MORE_FILES;
  rec.Name = std::move(rec.Rest.back().first);
  rec.Attr = rec.Rest.back().second;
  rec.Rest.pop_back();
  return 0;
}

void SkinFindClose(TSkinSearchRec& rec) { rec.Rest.clear(); }
