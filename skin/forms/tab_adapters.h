// Window adapters of tab controls: a raw tab control ("SysTabControl32", in a dialog or named
// in ThirdTabControl), a framework page control (ThirdPageControl) and the pages of a page
// control. The control's own painting is suppressed: the adapter paints the page frame from
// PAGECONTROL (PAGECONTROLBOTTOM, ...LEFT, ...RIGHT by the tabs' side), every tab from TABTOP
// (TABBOTTOM, TABLEFT, TABRIGHT; BUTTON or TOOLBUTTON for button-style tabs) with its text
// and image, the selected tab last over its neighbours. The arrows the control shows when its
// tabs do not fit get a spin adapter (UPDOWNBTN).
//
//   auto tabs = AttachAdapter<TacTabControlWnd>(wnd, nullptr, manager, "PAGECONTROL", true);
//
// Pages of a page control paint the part of the parent's picture they cover, so the page
// continues the page frame; their adapters live until the program ends.
#pragma once

#include <memory>

#include "skin/forms/tab_geometry.h"
#include "skin/forms/window_adapter.h"

class TBitmap;
class TacSpinWnd;

class TacTabControlWnd : public TacMainWnd {
 public:
  TacTabControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  ~TacTabControlWnd() override;
  void AdapterWndProc(TMessage& message) override;

  // The display area of the pages (window coordinates).
  virtual RECT ClientPageBounds();
  // Where the page frame is painted.
  virtual RECT PageFrameBounds();
  RECT TabStripBounds();
  TabPosition Position() const;
  TabKind Kind() const;
  int TabCount() const;
  // The rectangle a tab's picture takes; empty without a selected tab or out of range.
  RECT TabRect(int index);
  // Paints the whole control into dc (the cache first, then the selected tab).
  void PaintTabControl(HDC dc);

  std::unique_ptr<TacSpinWnd> SpinAdapter;

 protected:
  void UpdateSpinAdapter();

 private:
  // The tab's picture, text and image into target, the tab's rectangle moved by offset.
  void PaintTab(int index, int state, TBitmap& target, POINT offset);
  void PaintTabText(int index, int state, int sectionIndex, TBitmap& target, RECT r);
  void RebuildCache(TBitmap& cache);
  std::string PageSectionName() const;
  SIZE paintedSize_{};
};

class TacPageControlWnd : public TacTabControlWnd {
 public:
  TacPageControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void Attach(bool repaintFrame) override;
  void AdapterWndProc(TMessage& message) override;
  // Gives every page window without a skin of its own a TacPageWnd.
  void AdaptPages();
};

class TacPageWnd : public TacMainWnd {
 public:
  TacPageWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void AdapterWndProc(TMessage& message) override;
  // The parent's picture under the page into dc; 1.
  LRESULT PaintPageBackground(HDC dc);
};

// The page adapters made so far (freed when the program ends).
int PageAdapterCount();
