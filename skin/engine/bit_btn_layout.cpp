#include "skin/engine/bit_btn_layout.h"

RECT BitBtnGlyphRect(const BitBtnMeasures& m, int state, bool reflected) {
  const int margin = m.Margin < 0 ? 0 : m.Margin + 3;
  const int gw = m.GlyphWidth, gh = m.GlyphHeight, tw = m.TextWidth, th = m.TextHeight;
  const int spacing = m.CaptionShown ? m.Spacing : 0;
  const int dx = (m.Width - gw - spacing - tw) / 2 - margin;
  const int dy = (m.Height - gh - spacing - th) / 2 - margin;
  const int middle = (m.Height - gh) / 2;
  POINT p{};
  switch (m.Layout) {
    case blGlyphLeft:
      p = {m.Alignment == taLeftJustify ? margin : m.Alignment == taRightJustify ? margin + 2 * dx : margin + dx,
           middle};
      break;
    case blGlyphRight:
      p = {m.Alignment == taLeftJustify    ? m.Width - margin - 2 * dx - spacing - gw
           : m.Alignment == taRightJustify ? m.Width - gw - margin
                                           : (tw + m.Width + spacing - gw) / 2,
           middle};
      break;
    case blGlyphTop:
      p = {(m.Width - gw) / 2 + 1, margin + dy};
      break;
    case blGlyphBottom:
      p = {(m.Width - gw) / 2 + 1, m.Height - margin - dy - gh};
      break;
  }
  if (state == 2) {
    ++p.x;
    ++p.y;
  }
  if (reflected) p.y -= gw / 6;
  return {p.x, p.y, p.x + gw, p.y + gh};
}

UINT AlignmentDrawTextFlags(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify:
      return DT_LEFT;
    case taRightJustify:
      return DT_RIGHT;
    default:
      return DT_CENTER;
  }
}
