#include "skin/forms/speed_button_layout.h"

namespace {
int Shift(const SpeedButtonMetrics& m) { return m.Pressed ? 1 : 0; }
bool HasGlyph(const SpeedButtonMetrics& m) { return m.Glyph.cx > 0 && m.Glyph.cy > 0; }
}  // namespace

RECT SpeedButtonGlyphRect(const SpeedButtonMetrics& m) {
  const int w = m.Button.cx, h = m.Button.cy, gw = m.Glyph.cx, gh = m.Glyph.cy;
  const int cx = (w - gw - (gw > 0 && m.HasCaption ? m.Spacing : 0) - m.Text.cx) / 2;
  const int cy = (h - gh - (gh > 0 && m.HasCaption ? m.Spacing : 0) - m.Text.cy) / 2;
  const int margin = m.Margin;
  int left = 0, top = 0;
  switch (m.Layout) {
    case blGlyphLeft:
      left = margin == -1 ? cx : margin;
      top = (h - gh) / 2;
      break;
    case blGlyphRight:
      left = w - (margin == -1 ? cx : margin) - gw;
      top = (h - gh) / 2;
      break;
    case blGlyphTop:
      left = (w - gw) / 2;
      top = margin == -1 ? cy : margin;
      break;
    case blGlyphBottom:
      left = (w - gw) / 2;
      top = h - (margin == -1 ? cy : margin) - gh;
      break;
  }
  const int p = Shift(m);
  return {left + p, top + p, left + gw + p, top + gh + p};
}

RECT SpeedButtonCaptionRect(const SpeedButtonMetrics& m, const RECT& glyph) {
  const int w = m.Button.cx, h = m.Button.cy, tw = m.Text.cx, th = m.Text.cy, p = Shift(m);
  const int centred = p + (w - tw) / 2;
  int left = centred, top = p + (h - th) / 2;
  if (!HasGlyph(m)) {
    if (m.Margin != -1) {
      switch (m.Layout) {
        case blGlyphLeft: left = m.Margin; break;
        case blGlyphRight: left = w - m.Margin - tw; break;
        case blGlyphTop: top = m.Margin; break;
        case blGlyphBottom: top = h - m.Margin - th; break;
      }
    }
  } else {
    switch (m.Layout) {
      case blGlyphLeft: left = glyph.right + m.Spacing; break;
      case blGlyphRight: left = glyph.left - m.Spacing - tw; break;
      case blGlyphTop: top = glyph.bottom + m.Spacing; break;
      case blGlyphBottom: top = glyph.top - m.Spacing - th; break;
    }
  }
  return {left, top, left + tw, top + th};
}
