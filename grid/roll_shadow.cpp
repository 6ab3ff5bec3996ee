#include "grid/roll_shadow.h"

#include <iterator>

namespace {

// The marker's shape in window coordinates: the dot's centre lies at about (7, 11).
constexpr POINT kUpTriangle[] = {{-1, 7}, {7, -1}, {8, 0}, {14, 7}, {0, 6}};
constexpr POINT kDownTriangle[] = {{-1, 15}, {14, 15}, {6, 22}, {6, 22}, {-1, 14}};
constexpr RECT kDot{5, 9, 10, 14};

HRGN PolygonRegion(const POINT* points, int count) {
  return CreatePolygonRgn(points, count, WINDING);
}

}  // namespace

TRollShadow::TRollShadow(TComponent* AOwner) : TNxFlyoutControl(AOwner) {
  SetBounds(0, 0, 32, 32);
}

void TRollShadow::PlaceAt(POINT P) {
  UpdateRegion();
  SetBounds(P.x - 7, P.y - 11, 32, 32);
}

void TRollShadow::CreateWnd() {
  TNxFlyoutControl::CreateWnd();
  UpdateRegion();
}

void TRollShadow::UpdateRegion() {
  if (!HandleAllocated()) return;
  HRGN shape = PolygonRegion(kUpTriangle, static_cast<int>(std::size(kUpTriangle)));
  HRGN down = PolygonRegion(kDownTriangle, static_cast<int>(std::size(kDownTriangle)));
  HRGN dot = CreateEllipticRgn(kDot.left, kDot.top, kDot.right, kDot.bottom);
  CombineRgn(shape, shape, down, RGN_OR);
  CombineRgn(shape, shape, dot, RGN_OR);
  DeleteObject(down);
  DeleteObject(dot);
  // The window owns the region from here on.
  SetWindowRgn(Handle(), shape, IsWindowVisible(Handle()));
}

void TRollShadow::Paint() {
  Canvas().Brush().SetColor(clGrayText);
  Canvas().FillRect(ClientRect());
}
