#include "grid/edit_bevels.h"

#include "framework/gdi.h"

namespace grid {
namespace {

int Rings(const TEditBevels& Bevels) {
  if (Bevels.Kind == bkNone) return 0;
  return (Bevels.Outer != bvNone) + (Bevels.Inner != bvNone);
}

// One ring, one pixel wide, on the chosen edges of Rect.
void PaintRing(HDC DC, const RECT& Rect, TBevelCut Cut, const TEditBevels& Bevels,
               TColor Background) {
  if (Cut == bvSpace) {
    const RECT inner = InsideBevels(Rect, {Bevels.Edges, bvNone, bvSpace, Bevels.Kind});
    efir::gdi::Object<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Background)));
    efir::gdi::Object<HRGN> band(CreateRectRgnIndirect(&Rect));
    efir::gdi::Object<HRGN> hole(CreateRectRgnIndirect(&inner));
    CombineRgn(band.get(), band.get(), hole.get(), RGN_DIFF);
    FillRgn(DC, band.get(), brush.get());
    return;
  }
  UINT flags = Bevels.Edges;  // BF_LEFT, BF_TOP, BF_RIGHT, BF_BOTTOM have the same bits
  if (Bevels.Kind == bkSoft) flags |= BF_SOFT;
  if (Bevels.Kind == bkFlat) flags |= BF_FLAT;
  RECT ring = Rect;
  DrawEdge(DC, &ring, Cut == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, flags);
}

}  // namespace

int BevelSize(const TEditBevels& Bevels, TBevelEdge Edge) {
  return (Bevels.Edges & Edge) ? Rings(Bevels) : 0;
}

RECT InsideBevels(RECT Rect, const TEditBevels& Bevels) {
  Rect.left += BevelSize(Bevels, beLeft);
  Rect.top += BevelSize(Bevels, beTop);
  Rect.right -= BevelSize(Bevels, beRight);
  Rect.bottom -= BevelSize(Bevels, beBottom);
  return Rect;
}

void PaintBevels(HDC DC, RECT Rect, const TEditBevels& Bevels, TColor Background) {
  if (Bevels.Kind == bkNone) return;
  for (TBevelCut cut : {Bevels.Outer, Bevels.Inner}) {
    if (cut == bvNone) continue;
    PaintRing(DC, Rect, cut, Bevels, Background);
    Rect = InsideBevels(Rect, {Bevels.Edges, bvNone, bvSpace, Bevels.Kind});
  }
}

}  // namespace grid
