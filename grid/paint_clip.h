// The clip region a painter found on a device context, kept so that it can narrow the clip
// to one cell after another and leave the context as it found it. Only the clip is saved,
// not the selected objects, so a canvas bound to the context keeps track of its own.
//
//   grid::ClipKeeper clip(canvas.Handle());
//   clip.ClipTo(cellRect);      // the found clip narrowed to the cell
//   ...
//   clip.Restore();             // also done at the end of the scope
#pragma once

#include <windows.h>

#include "framework/gdi.h"

namespace grid {

class ClipKeeper {
 public:
  explicit ClipKeeper(HDC DC) : FDC(DC), FSaved(CreateRectRgn(0, 0, 0, 0)) {
    FHadClip = GetClipRgn(DC, FSaved.get()) == 1;
  }
  ~ClipKeeper() { Restore(); }
  ClipKeeper(const ClipKeeper&) = delete;
  ClipKeeper& operator=(const ClipKeeper&) = delete;

  void Restore() { SelectClipRgn(FDC, FHadClip ? FSaved.get() : nullptr); }
  void ClipTo(const RECT& Rect) {
    Restore();
    IntersectClipRect(FDC, Rect.left, Rect.top, Rect.right, Rect.bottom);
  }

 private:
  HDC FDC;
  efir::gdi::Object<HRGN> FSaved;
  bool FHadClip = false;
};

}  // namespace grid
