#include "skin/engine/background_queries.h"

#include "framework/controls.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

// Sends one message the way the parent takes it: to its window when it has one, else to
// its own dispatch.
LRESULT Ask(TControl* parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (parent->IsWindowed() && static_cast<TWinControl*>(parent)->HandleAllocated())
    return SendMessageW(static_cast<TWinControl*>(parent)->Handle(), msg, wParam, lParam);
  return parent->Perform(msg, wParam, lParam);
}

// Lets the parent paint its background and face into the record's DC, its origin moved so
// that (OffsetX, OffsetY) of the parent lands on the DC's origin.
template <class Send>
void PaintParentInto(BackgroundInfo& Info, Send send) {
  efir::gdi::SavedState saved(Info.DC);
  OffsetViewportOrgEx(Info.DC, -Info.OffsetX, -Info.OffsetY, nullptr);
  OffsetRect(&Info.Rect, Info.OffsetX, Info.OffsetY);
  IntersectClipRect(Info.DC, Info.Rect.left, Info.Rect.top, Info.Rect.right, Info.Rect.bottom);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Info.DC));
  send(WM_PAINT, reinterpret_cast<WPARAM>(Info.DC));
}

// Hands the record to the parent; true when it answered.
template <class Send>
bool AskForInfo(BackgroundInfo& Info, bool PaintNow, Send send) {
  Info.Kind = BG_NONE;
  Info.PaintNow = PaintNow;
  send(SM_ALPHACMD, MakeSkinWParam(SKC_GETBGINFO), reinterpret_cast<LPARAM>(&Info));
  return Info.Kind != BG_NONE;
}

}  // namespace

bool QueryParentBackground(BackgroundInfo& Info, TControl* Parent, bool PaintNow) {
  bool paintedBefore = Info.PaintNow;
  auto send = [&](UINT msg, WPARAM w, LPARAM l = 0) { return Ask(Parent, msg, w, l); };
  if (AskForInfo(Info, PaintNow, send)) return true;
  if (paintedBefore && Info.DC) {
    PaintParentInto(Info, send);
    return false;
  }
  Info.Kind = BG_COLOR;
  auto answer = static_cast<TColor>(send(SM_ALPHACMD, MakeSkinWParam(SKC_GETBGCOLOR), 0));
  Info.Color = answer != 0 ? answer : static_cast<TColor>(ColorToRGB(Parent->Color()));
  if (Info.PaintNow && Info.Bitmap && Info.DC) FillRectSolid(Info.DC, Info.Rect, Info.Color);
  return false;
}

bool QueryParentWindowBackground(BackgroundInfo& Info, HWND ParentWnd, bool PaintNow) {
  bool paintedBefore = Info.PaintNow;
  auto send = [&](UINT msg, WPARAM w, LPARAM l = 0) { return SendMessageW(ParentWnd, msg, w, l); };
  if (AskForInfo(Info, PaintNow, send)) return true;
  if (paintedBefore && Info.DC) {
    PaintParentInto(Info, send);
    return false;
  }
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  Info.Color = manager ? GlobalInfoColor(manager) : clBtnFace;
  Info.Kind = BG_COLOR;
  return false;
}

void BackgroundInfoToCacheInfo(const BackgroundInfo& Info, CacheSourceInfo& CacheInfo) {
  if (Info.Kind == BG_BITMAP)
    MakeCacheSourceInfo(Info.Bitmap, Info.OffsetX, Info.OffsetY, CacheInfo);
  else
    CacheInfo = CacheSourceInfo{nullptr, 0, 0, static_cast<TColor>(ColorToRGB(Info.Color)), false};
}

void QueryCacheBackground(TControl* control, TBitmap* cache, CacheSourceInfo& behind) {
  BackgroundInfo info;
  info.DC = cache->Canvas().Handle();
  info.Bitmap = cache;
  info.OffsetX = control->Left();
  info.OffsetY = control->Top();
  info.Rect = {0, 0, control->Width(), control->Height()};
  // Set before asking: a parent that does not answer then paints itself into the cache
  // (a styled panel, a form's picture) instead of leaving its flat colour there.
  info.PaintNow = true;
  if (control->Parent()) QueryParentBackground(info, control->Parent(), true);
  // Whatever the parent painted now lies in the cache itself, at the cache's origin.
  if (info.Kind != BG_COLOR) {
    info.Kind = BG_BITMAP;
    info.Bitmap = cache;
    info.OffsetX = info.OffsetY = 0;
  }
  BackgroundInfoToCacheInfo(info, behind);
}
