#include "framework/graphics_objects.h"

#include "framework/text_encoding.h"

namespace {

int screenPixelsPerInch() {
  efir::gdi::WindowDC screen;
  return GetDeviceCaps(screen, LOGPIXELSY);
}

}  // namespace

// ---- TFont ----

TFont::TFont() : name_("Tahoma"), height_(-MulDiv(8, screenPixelsPerInch(), 72)) {}

void TFont::SetName(const std::string& name) { Store(name_, name); }
void TFont::SetHeight(int height) { Store(height_, height); }
int TFont::Size() const { return -MulDiv(height_, 72, screenPixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, screenPixelsPerInch(), 72)); }
void TFont::SetStyle(TFontStyles style) { Store(style_, style); }
void TFont::SetColor(TColor color) { Store(color_, color, false); }
void TFont::SetCharset(BYTE charset) { Store(charset_, charset); }

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_ && charset_ == other.charset_;
}

void TFont::Assign(const TFont& source) {
  if (this == &source || SameAs(source)) return;
  const bool sameFace = name_ == source.name_ && height_ == source.height_ &&
                        style_ == source.style_ && charset_ == source.charset_;
  name_ = source.name_;
  height_ = source.height_;
  style_ = source.style_;
  color_ = source.color_;
  charset_ = source.charset_;
  Changed(!sameFace);
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wstring face = efir::text::fromAnsi(name_);
    face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    handle_.reset(CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

// ---- TBrush ----

void TBrush::SetColor(TColor color) {
  // Painters set a colour to fill with it: a clear brush given a colour becomes solid.
  if (color_ == color && style_ == bsSolid) return;
  color_ = color;
  style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) { Store(style_, style); }

void TBrush::Assign(const TBrush& source) {
  if (color_ == source.color_ && style_ == source.style_) return;
  color_ = source.color_;
  style_ = source.style_;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
  return handle_.get();
}

// ---- TPen ----

void TPen::SetColor(TColor color) { Store(color_, color); }
void TPen::SetWidth(int width) { Store(width_, width); }
void TPen::SetStyle(TPenStyle style) { Store(style_, style); }
void TPen::SetMode(TPenMode mode) { Store(mode_, mode, false); }

int TPen::RasterOperation() const {
  static constexpr int kOperations[] = {
      R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
      R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN,
      R2_XORPEN, R2_NOTXORPEN};
  return kOperations[mode_];
}

void TPen::Assign(const TPen& source) {
  if (color_ == source.color_ && width_ == source.width_ && style_ == source.style_ &&
      mode_ == source.mode_)
    return;
  const bool samePen = color_ == source.color_ && width_ == source.width_ && style_ == source.style_;
  color_ = source.color_;
  width_ = source.width_;
  style_ = source.style_;
  mode_ = source.mode_;
  Changed(!samePen);
}

HPEN TPen::Handle() {
  if (!handle_) handle_.reset(CreatePen(style_, width_, ColorToRGB(color_)));
  return handle_.get();
}
