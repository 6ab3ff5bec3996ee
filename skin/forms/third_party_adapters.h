// The window adapters the control adapter makes for the ThirdParty lists of grids, panels,
// edit combos and virtual trees (other component sets' controls that a layout names).
//
//   auto adapter = MakeThirdPartyAdapter(ThirdGrids, wnd, item.SkinData.get(), manager);
#pragma once

#include <windows.h>

#include <memory>

class TacMainWnd;
class TsCommonData;
class TsSkinManager;

// The attached adapter of list `list`, or nullptr for a list it does not serve.
std::unique_ptr<TacMainWnd> MakeThirdPartyAdapter(int list, HWND wnd, TsCommonData* data, TsSkinManager* manager);
