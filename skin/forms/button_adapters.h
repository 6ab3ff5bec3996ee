// Window adapters of the "button" windows the skin engine did not create (the push buttons,
// check boxes, radio buttons and group boxes of standard dialogs and message boxes): each
// paints its whole window from the skin into its cache and copies that to the window; the
// window's own painting is kept away.
//
//   auto ok = AttachAdapter<TacBtnWnd>(button, nullptr, manager, "BUTTON", true);
//
// Glyph buttons (TacBitBtnWnd) add their glyph beside the caption.
// Push buttons look hot while focused, hovered or default, pressed while held; check boxes
// take their glyphs from GLOBALINFO (BOXCHECKED, RADIOUNCHECKED, ...). A group box of a
// standard dialog paints only its frame and caption (the dialog paints the inside); on a
// framework form it paints its inside too, round its child windows and under its graphic
// controls.
#pragma once

#include "skin/forms/window_adapter.h"

class TBitmap;
class TBitBtn;

// The style of the check box being painted (the dialog skinning also stores a dialog's).
extern DWORD CurrentButtonStyle;

class TacBtnWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;

  // 0 normal, 1 hot (focused, hovered or default), 2 pressed.
  int ButtonState();
  // The whole button into the cache.
  void PaintButton(TBitmap& cache);

 protected:
  // Font, caption and focus rectangle into the cache.
  void PaintCaption(TBitmap& cache);
  // Nothing for a plain push button.
  virtual void PaintGlyph(TBitmap&) {}
  // One glyph picture's size; width 0 without a glyph.
  virtual SIZE GlyphExtent() { return {0, 0}; }
  // Where the caption goes, measured on the cache's canvas (its font selected).
  virtual RECT CaptionBounds(TBitmap& cache);
  // The width the caption may wrap in; 0 for an empty caption.
  virtual int CaptionWidthLimit();
  SIZE CaptionExtent(TBitmap& cache);
  bool Pressed();
};

// A glyph button: with a framework TBitBtn behind the window the glyph and caption follow the
// button's Layout and Spacing; a raw window shows its BM_GETIMAGE bitmap left of the caption.
class TacBitBtnWnd : public TacBtnWnd {
 public:
  using TacBtnWnd::TacBtnWnd;
  // The glyph's rectangle in the button for the glyph size and the caption size.
  RECT GlyphBounds(SIZE glyph, SIZE caption, const RECT& captionRect);

 protected:
  void PaintGlyph(TBitmap& cache) override;
  SIZE GlyphExtent() override;
  RECT CaptionBounds(TBitmap& cache) override;
  int CaptionWidthLimit() override;

 private:
  TBitBtn* Owner() const;
};

class TacCheckBoxWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  void PaintCheckBox(TBitmap& cache);
};

class TacGroupBoxWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  // The caption band: (6, 0) to the text's width + 14, at least 6 pixels high.
  RECT CaptionRect();
  // The frame and caption into the cache; the inside is the section's (the parent's through
  // a see-through section).
  void PaintGroupBox(TBitmap& cache);

 private:
  // The box round its child windows and under its graphic controls, into the DC of a print
  // (LParam 1) or the window's.
  void PaintBox(const TMessage& message);
  void EraseFromCache(const TMessage& message);
};

// Sends the message to the replaced procedure with redrawing off, so that the window's own
// painting on the way never reaches the screen; its answer.
LRESULT ForwardWithoutRedraw(TacMainWnd& adapter, TMessage& message);
