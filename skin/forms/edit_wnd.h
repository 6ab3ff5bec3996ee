// The adapter of edits, memos and list boxes (and the base of the list-type adapters: combo
// boxes and their drop lists, list views, trees): it paints the window's frame from the skin
// section's border picture into the non-client area, the skinned scroll bars beside it, and
// gives the control the skin's colours.
//
//   auto edit = AttachAdapter<TacEditWnd>(wnd, nullptr, manager, "EDIT", true);
//
// The look is applied lazily, at the first paint; the standard look and frame come back at
// detach and at the skin's removal. A paint that fails leaves the frame as it was rather
// than reaching the program's error handler.
#pragma once

#include "framework/gdi.h"
#include "skin/forms/base_wnd.h"

class TacEditWnd : public TacBaseWnd {
 public:
  // An empty section means "EDIT"; unlike other adapters, the section is always set.
  TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);

  void SaveStdLook() override;
  void RestoreStdLook() override;
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;

  TColor FillColor = clWindow;  // background of a window without framework control
  TColor SavedFocusColor = 0;
  TColor OutlineColor = 0;

 protected:
  // Copies the skinned frame from the cache and paints the bars into dc.
  int PaintFrame(HDC dc);
  void ApplyLookOnce() {
    if (!LookApplied) ApplySkinLook();
  }
  // The cache rebuilt as the frame shows it (flat in a standard dialog).
  void PrepareCache(bool withCorners);

 private:
  bool HandleSkinCommand(TMessage& message);
  // Messages answered before the base; true when done.
  bool HandleBefore(TMessage& message);
  void HandleAfter(const TMessage& message);
  void Print(TMessage& message);
  void NonClientPaint(TMessage& message);
};
