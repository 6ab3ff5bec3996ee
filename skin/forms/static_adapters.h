// Window adapters of the static windows of standard dialogs and message boxes: text,
// link windows and icons or bitmaps. Each draws the parent's skinned background under the
// window and then its content, so that text and pictures stand on the dialog's skin.
//
//   auto text = AttachAdapter<TacStaticWnd>(label, nullptr, manager, "CHECKBOX", true);
//
// A static with WS_TABSTOP or WS_EX_STATICEDGE keeps its own look.
#pragma once

#include <memory>

#include "skin/forms/window_adapter.h"

class TBitmap;

class TacStaticWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  // The window's content into the cache, over the background already there.
  virtual void PaintContent(TBitmap& cache);

 protected:
  // The messages a skinned static handles itself; false for the others.
  bool HandleStaticMessage(TMessage& message);
  void Paint(HDC dc);
};

class TacLinkWnd : public TacStaticWnd {
 public:
  using TacStaticWnd::TacStaticWnd;
  void AdapterWndProc(TMessage& message) override;
  void PaintContent(TBitmap& cache) override;
};

class TacIconWnd : public TacStaticWnd {
 public:
  TacIconWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void PaintContent(TBitmap& cache) override;
  bool IsBitmap = false;  // SS_BITMAP and the like; SS_ICON windows show icons
};

// The link text as drawn: every "<A>" and "</A>" (upper case only) taken out.
std::string LinkTextWithoutAnchors(std::string text);
