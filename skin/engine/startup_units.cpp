#include "skin/engine/startup_units.h"

#include <ole2.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/convert.h"
#include "skin/engine/alpha_image_list.h"
#include "skin/engine/embedded_data.h"

bool FourDigitYearFormat = false;
TacShellFolder* DesktopFolderNode = nullptr;
std::wstring ComctlString4163, UserString905, UserString900;
TAOR SharedRectList;
TObject* SharedObject = nullptr;
TsAlphaImageList* StateButtonImages = nullptr;

namespace {

CRITICAL_SECTION shellLock;
bool oleStarted = false;

LPITEMIDLIST CopyList(LPCITEMIDLIST list) {
  UINT size = ItemIdListSize(list);
  if (size == 0) return nullptr;
  auto* copy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(size));
  if (copy) std::memcpy(copy, list, size);
  return copy;
}

LPITEMIDLIST ConcatLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  UINT a = first ? ItemIdListSize(first) - 2 : 0, b = second ? ItemIdListSize(second) : 2;
  auto* joined = static_cast<BYTE*>(CoTaskMemAlloc(a + b));
  if (!joined) return nullptr;
  if (a) std::memcpy(joined, first, a);
  if (second)
    std::memcpy(joined + a, second, b);
  else
    joined[a] = joined[a + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(joined);
}

TacShellFolder* NewDesktopNode() {
  LPITEMIDLIST desktopList = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopList))) return nullptr;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) desktop = nullptr;
  auto* node = new TacShellFolder(nullptr, desktopList, desktop);
  CoTaskMemFree(desktopList);
  return node;
}

const char* const StateButtonNames[] = {"SF", "SR", "SD", "SE", "SC"};

TsAlphaImageList* NewStateButtonImages() {
  auto* images = new TsAlphaImageList(nullptr, 48, 16);
  // Built once from all five: adding them one by one rebuilt the list after each.
  for (const char* name : StateButtonNames)
    if (auto bytes = efir::skin::FindEmbeddedData(name))
      images->Items.push_back({ifPNG, pf32bit, std::vector<uint8_t>(bytes->begin(), bytes->end())});
  images->Change();
  return images;
}

}  // namespace

UINT ItemIdListSize(LPCITEMIDLIST list) {
  if (!list) return 0;
  UINT size = 0;
  const BYTE* item = reinterpret_cast<const BYTE*>(list);
  for (USHORT cb; std::memcpy(&cb, item + size, sizeof cb), cb != 0;) size += cb;
  return size + 2;
}

TacShellFolder::TacShellFolder(TacShellFolder* parent, LPCITEMIDLIST ownList, IShellFolder* folder)
    : ownList_(CopyList(ownList)), folder_(folder), parent_(parent ? parent : DesktopFolderNode) {
  LPCITEMIDLIST base = parent_ ? parent_->FullList() : nullptr;
  fullList_ = ConcatLists(base, ownList_);
  level_ = parent_ ? parent_->Level() + 1 : 0;
}

TacShellFolder::~TacShellFolder() {
  if (folder_) folder_->Release();
  CoTaskMemFree(ownList_);
  CoTaskMemFree(fullList_);
}

bool HasFourDigitYear(const std::string& shortDateFormat) {
  std::string upper = shortDateFormat;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper.find("YYYY") != std::string::npos;
}

std::wstring LoadLibraryString(const wchar_t* library, UINT id) {
  HMODULE module = LoadLibraryW(library);
  if (!module) return {};
  const wchar_t* text = nullptr;
  int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  std::wstring result = length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
  FreeLibrary(module);
  return result;
}

void StartEngineUnits() {
  FourDigitYearFormat = HasFourDigitYear(efir::FormatSettings().ShortDateFormat);
  DesktopFolderNode = NewDesktopNode();
  InitializeCriticalSection(&shellLock);
  oleStarted = SUCCEEDED(OleInitialize(nullptr));
  ComctlString4163 = LoadLibraryString(L"Comctl32", 4163);
  UserString905 = LoadLibraryString(L"User32", 905);
  UserString900 = LoadLibraryString(L"User32", 900);
  SharedObject = nullptr;
  StateButtonImages = NewStateButtonImages();
}

void StopEngineUnits() {
  delete StateButtonImages;
  StateButtonImages = nullptr;
  delete SharedObject;
  SharedObject = nullptr;
  SharedRectList.clear();
  ComctlString4163.clear();
  UserString905.clear();
  UserString900.clear();
  delete DesktopFolderNode;
  DesktopFolderNode = nullptr;
  DeleteCriticalSection(&shellLock);
  if (oleStarted) OleUninitialize();
  oleStarted = false;
}
