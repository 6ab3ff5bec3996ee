// The window adapter of status bars (classes named in ThirdStatusBar): the bar's own painting
// is suppressed and the whole bar comes from the adapter's cache, made on every erase: the
// STATUSBAR section over the parent's background, each panel with the section's
// STATUSPANELMASK (or, without one, a DIVIDER after every panel but the last) and its text in
// the section's colours, shortened with "..." to the panel.
//
//   auto bar = AttachAdapter<TacStatusBarWnd>(wnd, nullptr, manager, "", true);
//
// Panel texts and alignments come from the framework's TStatusBar when it owns the window;
// a raw status bar shows its simple text only.
#pragma once

#include <string>

#include "skin/forms/window_adapter.h"

class TBitmap;
class TStatusBar;

class TacStatusBarWnd : public TacMainWnd {
 public:
  TacStatusBarWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void AdapterWndProc(TMessage& message) override;

  // The text of panel `index` (-1: the simple panel), Windows-1251.
  std::string PanelText(int index);
  void RebuildCache();

  TStatusBar* StatusBar = nullptr;

 private:
  void PaintPanel(int index, RECT r, TBitmap& cache);
  void PaintDivider(const RECT& r, TBitmap& cache);
  void CopyCacheTo(HDC given);
  bool Simple() const;
};
