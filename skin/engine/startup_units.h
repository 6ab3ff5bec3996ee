// The small start-up pieces of the skin engine: what they set when the program starts
// stays in globals that nothing else reads, except OLE, which stays initialised on the GUI
// thread for the program's whole life. StartSkinEngine (skin_startup.h) runs them before the
// first window exists and StopSkinEngine undoes them in reverse order.
//
//   StartEngineUnits();          // once, on the GUI thread
//   ...
//   StopEngineUnits();           // at the end of WinMain
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "framework/string_list.h"
#include "skin/engine/colour_utils.h"

class TsAlphaImageList;

// A node of the shell's folder tree: its own item-identifier list, the folder, its parent
// (the desktop node when none is given), the full identifier list from the desktop, a list
// of names and its depth. Identifier lists are owned and freed with the shell's allocator.
class TacShellFolder {
 public:
  // Takes a copy of `ownList`; `folder` is held (AddRef'd by the caller's hand-over).
  TacShellFolder(TacShellFolder* parent, LPCITEMIDLIST ownList, IShellFolder* folder);
  ~TacShellFolder();
  TacShellFolder(const TacShellFolder&) = delete;
  TacShellFolder& operator=(const TacShellFolder&) = delete;

  LPCITEMIDLIST OwnList() const { return ownList_; }
  LPCITEMIDLIST FullList() const { return fullList_; }
  IShellFolder* Folder() const { return folder_; }
  int Level() const { return level_; }
  TStringList Names;

 private:
  LPITEMIDLIST ownList_ = nullptr;
  IShellFolder* folder_ = nullptr;
  TacShellFolder* parent_ = nullptr;
  LPITEMIDLIST fullList_ = nullptr;
  int level_ = 0;
};

// The size in bytes of an item-identifier list with its terminating zero length; 0 for none.
UINT ItemIdListSize(LPCITEMIDLIST list);

// The short date format of the locale shows the year with four digits (any letter case).
extern bool FourDigitYearFormat;
bool HasFourDigitYear(const std::string& shortDateFormat);
// The desktop's node; nullptr before start-up or when the shell gave none.
extern TacShellFolder* DesktopFolderNode;
// Strings 4163 of "Comctl32", and 905 and 900 of "User32"; empty when a library or string
// is missing.
extern std::wstring ComctlString4163, UserString905, UserString900;
// Loads string `id` of the library named `library` by name and frees it again; empty when
// either is missing.
std::wstring LoadLibraryString(const wchar_t* library, UINT id);
// The shared rectangle list and object reference the units release at the end.
extern TAOR SharedRectList;
extern TObject* SharedObject;
// The 48 x 16 state-button pictures SF, SR, SD, SE, SC (built-in), as icons with alpha.
extern TsAlphaImageList* StateButtonImages;

void StartEngineUnits();
void StopEngineUnits();
