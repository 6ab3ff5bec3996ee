// The font, brush and pen a canvas draws with. Each one holds its settings, makes its GDI
// handle when first asked for it and makes a new one after a change; every change that is
// not a no-op raises OnChange, which is how a canvas or a control learns of it.
//
//   TFont font;
//   font.SetName("Tahoma"); font.SetSize(10); font.SetStyle(fsBold | fsUnderline);
//   font.OnChange = [this] { Invalidate(); };
//   HFONT h = font.Handle();       // owned by the font: do not delete it
#pragma once

#include "framework/gdi.h"

#include <functional>
#include <string>

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // an or-combination of TFontStyle

enum TBrushStyle { bsSolid, bsClear };

// In the order of the PS_ constants.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen's colour combines with the screen (the R2_ raster operations).
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// What TFont, TBrush and TPen share: the change event and the lazily made handle.
template <class Handle>
class TGraphicsObject {
 public:
  std::function<void()> OnChange;

 protected:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;

  // The old handle lives until OnChange has returned: a canvas selects it out of its device
  // context there, and a handler that asks for the handle already gets the new one.
  void Changed(bool newHandle = true) {
    efir::gdi::Object<Handle> old;
    if (newHandle) old = std::move(handle_);
    if (OnChange) OnChange();
  }
  template <class T>
  void Store(T& field, const T& value, bool newHandle = true) {
    if (field == value) return;
    field = value;
    Changed(newHandle);
  }

  efir::gdi::Object<Handle> handle_;
};

class TFont : public TGraphicsObject<HFONT> {
 public:
  TFont();

  // The typeface name, Windows-1251 text.
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Height in pixels: negative for the character height, positive for the cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Size in points at the screen's resolution.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  // Copies every setting (not the change event); raises OnChange once when anything differs.
  void Assign(const TFont& source);
  HFONT Handle();

 private:
  bool SameAs(const TFont& other) const;

  std::string name_;
  int height_;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
};

class TBrush : public TGraphicsObject<HBRUSH> {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);

  void Assign(const TBrush& source);
  // A clear brush is the stock null brush.
  HBRUSH Handle();

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TPen : public TGraphicsObject<HPEN> {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  // The mode is a property of the device context, not of the pen: changing it keeps the handle.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  int RasterOperation() const;  // Mode as an R2_ value for SetROP2

  void Assign(const TPen& source);
  HPEN Handle();

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};
