// The window adapter of raw tool bars ("toolbarwindow32", such as the button strip of the
// file dialogs): the bar's background from its section (BAR for flat bars, CHECKBOX for the
// others, both see-through to the parent when the skin lacks them), every button from
// TOOLBUTTON (BUTTON in a skin without it) in its normal, hot or pressed look with the
// bar's own images and texts, separators from DIVIDER.
//
//   auto bar = AttachAdapter<TacToolBarWnd>(wnd, nullptr, manager, "BAR", true);
//
// The bar keeps doing its own work (hot tracking, clicks, tool tips); only its painting is
// replaced.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "skin/forms/window_adapter.h"

class TBitmap;

class TacToolBarWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;

  // The background and frame of the whole window, rebuilt when it changed.
  void PrepareToolBarCache();
  // Button `index` onto `target` at rect (in window coordinates).
  void PaintButton(int index, const RECT& rect, TBitmap& target);
  // 0 normal (also disabled), 1 hot, 2 pressed.
  int ButtonState(const TBBUTTON& button, const RECT& rect) const;

  RECT ClientRect{};     // in window coordinates

 protected:
  // The bands around the client area from the cache, into the window DC.
  void PaintFrame();

 private:
  void PaintClient(const TMessage& message);
  void PaintSeparator(const RECT& rect, TBitmap& button);
  void PaintImage(const TBBUTTON& button, int state, int shift, TBitmap& target, SIZE& imageSize);
  void PaintText(const TBBUTTON& button, int state, int shift, int imageHeight, TBitmap& target);
};

// A caption cut at spaces into the words that fit `width` on the first line and the rest;
// the second part is empty when the caption fits or is one word.
std::pair<std::string, std::string> SplitToolButtonCaption(const std::string& caption,
                                                           const std::function<int(const std::string&)>& measure,
                                                           int width);
