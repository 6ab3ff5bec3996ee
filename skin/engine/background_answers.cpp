#include "skin/engine/background_answers.h"

#include <cwchar>

#include "framework/controls.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

// A chain of see-through controls passes the question up once per level; a parent that
// hands it back to the asker (an adapter passing it on, parent links that loop) would pass
// it on for ever, so the passing stops at this depth and the answer becomes a plain colour.
constexpr int MaxPassDepth = 64;
int passDepth = 0;

class PassScope {
 public:
  PassScope() { ++passDepth; }
  ~PassScope() { --passDepth; }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;
};

// The record describes `cache` at the answerer's origin, or paints from it.
void AnswerFromCache(BackgroundInfo& Info, TBitmap& cache) {
  Info.Kind = BG_BITMAP;
  if (Info.PaintNow) {
    // Through the cache's own canvas: a bitmap can sit in one DC only.
    BitBlt(Info.DC, Info.Rect.left, Info.Rect.top, Info.Rect.right - Info.Rect.left, Info.Rect.bottom - Info.Rect.top,
           cache.Canvas().Handle(), Info.OffsetX, Info.OffsetY, SRCCOPY);
  } else {
    Info.Bitmap = &cache;
    Info.OffsetX = Info.OffsetY = 0;
  }
}

void AnswerColor(BackgroundInfo& Info, TColor color) {
  Info.Kind = BG_COLOR;
  Info.Color = color;
}

TColor DefaultGlobalColor() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager ? GlobalInfoColor(manager) : static_cast<TColor>(ColorToRGB(clBtnFace));
}

}  // namespace

void TsCommonData::FillBackgroundInfo(BackgroundInfo& Info, bool Hot, HWND Wnd) {
  const TsGeneralData* s = Section();
  if (!SkinActiveFor(this, false) || CustomColor() || !s) {
    if (OwnerControl) AnswerColor(Info, OwnerControl->Color());
    else Info.Kind = BG_COLOR;
    return;
  }
  int t = Hot ? s->HotTransparency : s->Transparency;
  int g = Hot ? s->HotGradientPercent : s->GradientPercent;
  int i = Hot ? s->HotImagePercent : s->ImagePercent;
  if (t == 0 && g <= 0 && i <= 0) {
    Info.Bitmap = CacheBitmap.get();
    AnswerColor(Info, BackgroundColor(Hot, nullptr));
    if (Info.PaintNow && Info.DC) FillRectSolid(Info.DC, Info.Rect, Info.Color);
    return;
  }
  bool ownImage = t != 100 || [&] {
    TsSkinManager* manager = SkinManager();
    if (!MaskIndexValid(manager, s->BorderIndex)) return false;
    const TsMaskData& m = manager->Masks[static_cast<size_t>(s->BorderIndex)];
    return m.WL + m.WR > 24 || m.WT + m.WB > 24;
  }();
  if (ownImage) {
    if (CacheBitmap) return AnswerFromCache(Info, *CacheBitmap);
    if (t != 100) return AnswerColor(Info, 0xFF00FF);
    return AnswerColor(Info, OwnerControl && OwnerControl->Parent() ? ControlBackgroundColor(OwnerControl->Parent())
                                                                    : DefaultGlobalColor());
  }
  if (passDepth >= MaxPassDepth) return AnswerColor(Info, DefaultGlobalColor());
  PassScope pass;
  if (OwnerControl && OwnerControl->Parent()) {
    int left = OwnerControl->Left(), top = OwnerControl->Top();
    if (Info.PaintNow) {
      // The offsets say where to copy from in the answerer: in the parent that place lies
      // further by this control's position.
      Info.OffsetX += left;
      Info.OffsetY += top;
      QueryParentBackground(Info, OwnerControl->Parent(), true);
    } else if (QueryParentBackground(Info, OwnerControl->Parent(), false) && Info.Kind == BG_BITMAP) {
      Info.OffsetX += left;
      Info.OffsetY += top;
    }
  } else if (Wnd) {
    HWND parent = GetParent(Wnd);
    if (QueryParentWindowBackground(Info, parent, false) && Info.Kind == BG_BITMAP) {
      RECT r;
      GetWindowRect(Wnd, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      Info.OffsetX += r.left;
      Info.OffsetY += r.top;
    }
  } else {
    AnswerColor(Info, DefaultGlobalColor());
  }
}

TColor TsCommonData::BackgroundColor(bool Hot, HWND Wnd) {
  const TsGeneralData* s = Section();
  if (SkinActiveFor(this, false) && s) {
    TColor c = Hot ? s->HotColor : s->Color;
    int t = Hot ? s->HotTransparency : s->Transparency;
    if (t == 0 && !CustomColor()) return c;
    if (t == 100) {
      if (OwnerControl) return ControlBackgroundColor(OwnerControl->Parent());
      if (Wnd) return WindowBackgroundColor(GetParent(Wnd));
      return clBtnFace;
    }
    if (t != 0) {
      if (!OwnerControl) return 0;
      return MixColors(c, ControlBackgroundColor(OwnerControl->Parent()), t / 100.0);
    }
  }
  return OwnerControl ? OwnerControl->Color() : clBtnFace;
}

void TsCommonData::ParentCacheInfo(CacheSourceInfo& Info) {
  if (SkinActiveFor(this, false) && OwnerControl && OwnerControl->Parent()) {
    BackgroundInfo local;
    QueryParentBackground(local, OwnerControl->Parent(), false);
    BackgroundInfoToCacheInfo(local, Info);
    return;
  }
  Info.X = Info.Y = 0;
  Info.FillColor = BackgroundColor(false, nullptr);
  Info.Ready = false;
}

bool TsCommonData::BackgroundFollowsParent() {
  if (CacheLocked || !SkinActiveFor(this, false) || !OwnerControl || !OwnerControl->Visible()) return true;
  const TsGeneralData* s = Section();
  if (!s) return false;
  bool varies = !OwnerControl->Enabled() || s->Transparency > 0;
  TWinControl* parent = OwnerControl->Parent();
  if (varies && parent && parent->HandleAllocated()) return AskControlSkinCommand(parent, SKC_ISBGVARYING) == 1;
  return varies;
}

void WindowParentCacheInfo(HWND Wnd, CacheSourceInfo& Info) {
  Info.Ready = false;
  HWND parent = Wnd ? GetParent(Wnd) : nullptr;
  if (!parent) {
    Info = EmptyCacheSourceInfo;
    return;
  }
  BackgroundInfo local;
  QueryParentWindowBackground(local, parent, false);
  BackgroundInfoToCacheInfo(local, Info);
}

bool IsParentBackgroundVarying(TsCommonData& SkinData) {
  TWinControl* parent = SkinData.OwnerControl ? SkinData.OwnerControl->Parent() : nullptr;
  return parent && parent->HandleAllocated() && AskControlSkinCommand(parent, SKC_ISBGVARYING) == 1;
}

int ParentFontSectionIndex(TControl* control, int fallback, TsSkinManager* manager) {
  if (!manager) manager = TsSkinManager::DefaultManager();
  while (control && control->Parent()) {
    int index = static_cast<int>(AskControlSkinCommand(control->Parent(), SKC_GETSECTIONINDEX)) - 1;
    if (!SectionIndexValid(manager, index)) return fallback;
    const TsGeneralData& s = manager->GeneralData[static_cast<size_t>(index)];
    if (s.Transparency <= 50) return s.GiveOwnFont ? index : fallback;
    control = control->Parent();
  }
  return fallback;
}

namespace {

void CopyCacheArea(TBitmap& cache, const RECT& SourceRect, HDC dc, const RECT& ClipRect) {
  BitBlt(dc, ClipRect.left, ClipRect.top, ClipRect.right - ClipRect.left, ClipRect.bottom - ClipRect.top,
         cache.Canvas().Handle(), SourceRect.left, SourceRect.top, SRCCOPY);
}

void Exclude(HDC dc, const RECT& r) { ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); }

bool IsGroupBox(HWND wnd) {
  wchar_t name[16];
  if (!GetClassNameW(wnd, name, 16) || _wcsicmp(name, L"Button") != 0) return false;
  return (GetWindowLongW(wnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && !(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// Leaves out a group box's caption band and frame; without a manager it is not left out.
void ExcludeGroupBoxFrame(HDC dc, HWND box, const RECT& r) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager) return;
  int section = SectionIndexByName(manager, "GROUPBOX");
  int mask = MaskIndexByName(manager, section, "GROUPBOX", "BORDERSMASK");
  int caption = static_cast<int>(SendSkinCommandToWindow(box, SKC_GETCAPTIONHEIGHT));
  int left = MaskBorderLeft(manager, mask), right = MaskBorderRight(manager, mask), bottom = MaskBorderBottom(manager, mask);
  Exclude(dc, {r.left, r.top, r.right, r.top + caption});
  Exclude(dc, {r.left, r.top, r.left + left, r.bottom});
  Exclude(dc, {r.right - right, r.top, r.right, r.bottom});
  Exclude(dc, {r.left, r.bottom - bottom, r.right, r.bottom});
}

}  // namespace

void CopyCacheExceptControls(TWinControl* parent, TsCommonData& SkinData, const RECT& SourceRect, int dy, int dx,
                             HDC dc, const RECT& ClipRect) {
  if (!SkinData.CacheBitmap || !parent) return;
  efir::gdi::SavedState saved(dc);
  IntersectClipRect(dc, ClipRect.left, ClipRect.top, ClipRect.right, ClipRect.bottom);
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    RECT bounds = child->BoundsRect();
    if (!child->Visible() || !efir::skin::RectsOverlap(ClipRect, bounds)) continue;
    if (!child->IsWindowed() || (child->ControlStyle() & csOpaque)) {
      OffsetRect(&bounds, dx, dy);
      Exclude(dc, bounds);
    }
  }
  CopyCacheArea(*SkinData.CacheBitmap, SourceRect, dc, ClipRect);
}

void CopyCacheExceptWindows(HWND wnd, TsCommonData& SkinData, const RECT& SourceRect, int dy, int dx, HDC dc,
                            const RECT& ClipRect) {
  if (!SkinData.CacheBitmap || !wnd) return;
  efir::gdi::SavedState saved(dc);
  IntersectClipRect(dc, ClipRect.left, ClipRect.top, ClipRect.right, ClipRect.bottom);
  RECT outer;
  GetWindowRect(wnd, &outer);
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    // The same sign as for controls: the offsets move the children's places.
    OffsetRect(&r, dx - outer.left, dy - outer.top);
    if (IsGroupBox(child))
      ExcludeGroupBoxFrame(dc, child, r);
    else
      Exclude(dc, r);
  }
  CopyCacheArea(*SkinData.CacheBitmap, SourceRect, dc, ClipRect);
}
