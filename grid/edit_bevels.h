// The bevels an editor may draw around its border, in its non-client area: up to two rings
// (the outer one outside), each lowered, raised or only room (bvSpace), on the edges chosen.
// With BevelKind bkNone there are none whatever the cuts say.
//
//   RECT border = grid::InsideBevels(windowRect, bevels);    // where the border starts
//   grid::PaintBevels(windowDC, windowRect, bevels, Color()); // in WM_NCPAINT
#pragma once

#include <cstdint>

#include "framework/stdctrls.h"

enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge : uint8_t { beLeft = 1, beTop = 2, beRight = 4, beBottom = 8 };
using TBevelEdges = uint8_t;

struct TEditBevels {
  TBevelEdges Edges = beLeft | beTop | beRight | beBottom;
  TBevelCut Inner = bvRaised;
  TBevelCut Outer = bvLowered;
  TBevelKind Kind = bkNone;

  bool operator==(const TEditBevels&) const = default;
};

namespace grid {

// Pixels the bevels take on one edge.
int BevelSize(const TEditBevels& Bevels, TBevelEdge Edge);
// Rect less the bevels, edge by edge.
RECT InsideBevels(RECT Rect, const TEditBevels& Bevels);
// The rings on Rect (window coordinates of DC); the room of a bvSpace ring takes Background.
void PaintBevels(HDC DC, RECT Rect, const TEditBevels& Bevels, TColor Background);

}  // namespace grid
