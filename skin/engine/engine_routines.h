// Small routines the whole skin engine shares: byte clamping, rectangle tests, the
// background record of a bitmap, delimited words and string edits, folder names, the
// caption font, a wait that keeps messages flowing, a file's shell icon, and the engine's
// message box.
//
//   int b = efir::skin::ClampToByte(r + delta);
//   MakeCacheSourceInfo(cache, left, top, info);     // paint from my cache at my position
//   SkinMessageBox(nullptr, "Нет скина", mtWarning, mbOK);
//   TIniSections sections = ParseIniSections(lines);             // an INI text already in memory
//   int n = IniSectionsReadInteger(sections, "GLOBALINFO", 0, "VERSION");
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/engine/skin_command.h"

class TBitmap;
class TIcon;

namespace efir::skin {

// 0 below 0, 255 above 255.
constexpr int ClampToByte(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }
// With `nonNegative`, 0 instead of a negative extent.
constexpr int RectWidth(const RECT& r, bool nonNegative = false) {
  return nonNegative && r.right < r.left ? 0 : r.right - r.left;
}
constexpr int RectHeight(const RECT& r, bool nonNegative = false) {
  return nonNegative && r.bottom < r.top ? 0 : r.bottom - r.top;
}
constexpr bool ValueBetween(int value, int min, int max) { return min <= value && value <= max; }
// The two share at least one pixel; an empty `rect` shares none.
bool RectsOverlap(const RECT& area, const RECT& rect);
// Both corners of `inner` lie in `outer`, its right and bottom edges counted in.
bool RectContainsRect(const RECT& outer, const RECT& inner);

// Words are the runs of characters not in `delimiters`. The 1-based position of word n (also
// 1-based) in s; 0 when there is none.
size_t DelimitedWordPos(int n, std::string_view s, std::string_view delimiters);
std::string ExtractDelimitedWord(int n, std::string_view s, std::string_view delimiters);
int DelimitedWordCount(std::string_view s, std::string_view delimiters);
std::string DeleteChars(std::string_view s, char ch);
// Every `from` replaced, left to right, without looking into what was put in; an empty
// `from` changes nothing.
std::string ReplaceAllSubstr(std::string_view s, std::string_view from, std::string_view to);
// A folder name ending in a backslash: "c" gives "c:\", "dir/" gives "dir\"; empty stays empty.
std::string NormalizeDirPath(std::string_view s);

// The system's caption font: its lfHeight (0 when unknown), or a new font the caller deletes.
int CaptionFontHeight();
HFONT CreateCaptionFont();

// Lets the application handle its messages, at least once, until `ms` milliseconds passed.
void DelayWithMessages(DWORD ms);
// The shell's icon of an existing file: large, or small with SHGFI_SMALLICON in `flags`;
// nullptr when the file or its icon is missing.
std::unique_ptr<TIcon> LoadShellFileIcon(const std::string& fileName, UINT flags = 0);

}  // namespace efir::skin

// Paint from `bitmap` with the asker's origin at (x, y).
void MakeCacheSourceInfo(TBitmap* bitmap, int x, int y, CacheSourceInfo& info);

// The engine's message boxes. Kinds choose the icon and, without a caption, its caption;
// buttons are an or-combination of TMsgDlgBtn bits.
enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint16_t {
  mbYes = 1 << 0, mbNo = 1 << 1, mbOK = 1 << 2, mbCancel = 1 << 3, mbAbort = 1 << 4,
  mbRetry = 1 << 5, mbIgnore = 1 << 6, mbHelp = 1 << 10
};
using TMsgDlgButtons = uint16_t;

// The MessageBox style for the kind and buttons: icon, button set, MB_HELP, and always
// on top and to the foreground.
UINT SkinMessageBoxFlags(TMsgDlgType type, TMsgDlgButtons buttons);
// "Warning", "Error", "Information", "Confirm", or empty for mtCustom.
const char* DefaultMessageCaption(TMsgDlgType type);
// Where the dialog skinning moves the next message box (-1: where the system puts it); set
// only while SkinMessageBox shows its box.
extern int DialogPosX, DialogPosY;
// Message boxes of the engine being shown now (the application's modal state).
extern int SkinModalLevel;
// Shows the box (owned by the active window, else the application's) and returns its
// answer; tests replace it. Text and caption are Windows-1251.
extern std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)> ShowMessageBoxCall;
// Shows the box modally, placed at (x, y) unless both are -1, and returns its answer.
// `caption` nullptr: the kind's caption.
int SkinMessageBox(const char* caption, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int x = -1,
                   int y = -1);
// SkinMessageBox without a caption where the system puts it; helpContext is not used.
int SkinMessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
int ShowSkinWarning(const std::string& text);
int ShowSkinError(const std::string& text);

// An INI text split into its sections, in text order: each section's name (between the
// brackets, possibly empty) and its lines as written.
struct TIniSection {
  std::string Name;
  std::vector<std::string> Lines;
};
using TIniSections = std::vector<TIniSection>;
// Empty lines and lines starting with ";" are skipped, lines are not trimmed, and lines
// before the first section are dropped.
TIniSections ParseIniSections(const std::vector<std::string>& lines);
// The value after "key=" on the first line of the section (names blind to case) whose text
// before its "=" is the key, untrimmed; `fallback` when the section or key is missing.
std::string IniSectionsReadString(const TIniSections& sections, std::string_view section, const std::string& fallback,
                                  std::string_view key);
// The value as a decimal number, or hexadecimal after "0x"; `fallback` when it is none.
int IniSectionsReadInteger(const TIniSections& sections, std::string_view section, int fallback, std::string_view key);

// The framework's file search, one entry at a time: 0 and the first entry, or non-zero when
// nothing matches (or the folder is missing).
struct TSkinSearchRec {
  std::string Name;
  DWORD Attr = 0;
  std::vector<std::pair<std::string, DWORD>> Rest;  // the entries not handed out yet
};
int SkinFindFirst(const std::string& pattern, TSkinSearchRec& rec);
int SkinFindNext(TSkinSearchRec& rec);
void SkinFindClose(TSkinSearchRec& rec);
