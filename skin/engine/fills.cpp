#include "skin/engine/fills.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "framework/controls.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/paint_types.h"

void FillRectSolid(HDC dc, const RECT& rect, TColor color) {
  efir::gdi::SavedState saved(dc);
  efir::gdi::Object<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
  FillRect(dc, &rect, brush.get());
}

void FillBorderBand(HDC dc, const RECT& rect, int wl, int wt, int wr, int wb, TColor color) {
  efir::gdi::SavedState saved(dc);
  efir::gdi::Object<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
  const RECT bands[] = {
      {rect.left, rect.top, rect.right, rect.top + wt},
      {rect.left, rect.top + wt, rect.left + wl, rect.bottom},
      {rect.left + wl, rect.bottom - wb, rect.right, rect.bottom},
      {rect.right - wr, rect.top + wt, rect.right, rect.bottom - wb},
  };
  for (const RECT& band : bands) FillRect(dc, &band, brush.get());
}

void CopyBorderFrame(HDC destDC, int x, int y, int width, int height, HDC sourceDC, int sourceX, int sourceY,
                     int borderWidth) {
  const int b = borderWidth;
  auto copy = [&](int dx, int dy, int w, int h) {
    if (w > 0 && h > 0) BitBlt(destDC, x + dx, y + dy, w, h, sourceDC, sourceX + dx, sourceY + dy, SRCCOPY);
  };
  copy(0, 0, b, height);
  copy(b, 0, width - b, b);
  copy(width - b, b, b, height - b);
  copy(b, height - b, width - 2 * b, b);
}

void ExcludeChildControlRects(HDC dc, TWinControl* parent, int offsetX, int offsetY, ExcludedChildren kinds) {
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    const TControl* child = parent->Controls(i);
    const ExcludedChildrenItem kind = child->IsWindowed() ? ecWindowed : ecGraphic;
    if (!child->Visible() || !(kinds & kind)) continue;
    ExcludeClipRect(dc, child->Left() + offsetX, child->Top() + offsetY, child->Left() + child->Width() + offsetX,
                    child->Top() + child->Height() + offsetY);
  }
}

namespace {

void Grayscale(TBitmap* bitmap, bool keyed, TColor keyColor) {
  const PixelRows rows = RowsOf(bitmap);
  if (!rows || rows.Bytes != 3) return;
  for (int y = 0; y < rows.Height; ++y) {
    uint8_t* p = rows.At(0, y);
    for (int x = 0; x < rows.Width; ++x, p += 3) {
      if (keyed && PixelIs(p, keyColor)) continue;
      p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
  }
}

}  // namespace

void GrayscaleBitmap(TBitmap* bitmap) { Grayscale(bitmap, false, 0); }
void GrayscaleBitmapExcept(TBitmap* bitmap, TColor keyColor) { Grayscale(bitmap, true, keyColor); }

std::string CutTextWithEllipsis(TCanvas& canvas, std::string_view text, int maxWidth) {
  if (maxWidth <= 0) return {};
  std::string result(text);
  if (canvas.TextWidth(result) <= maxWidth) return result;
  while (!result.empty() && canvas.TextWidth(result + "...") > maxWidth) result.pop_back();
  return result.empty() ? result : result + "...";
}

RECT DrawTextOnDC(HDC dc, std::string_view text, RECT rect, UINT format) {
  const std::wstring wide = efir::text::fromAnsi(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
  return rect;
}

RECT MeasureTextOnDC(HDC dc, std::string_view text, RECT rect, UINT format) {
  return DrawTextOnDC(dc, text, rect, format | DT_CALCRECT);
}

int CanvasTextWidth(TCanvas& canvas, std::string_view text) { return canvas.TextWidth(text); }
SIZE CanvasTextExtent(TCanvas& canvas, std::string_view text) { return canvas.TextExtent(text); }
void CanvasTextRect(TCanvas& canvas, const RECT& rect, int x, int y, std::string_view text) {
  canvas.TextRect(rect, x, y, text);
}

namespace {

void DrawInColour(TCanvas& canvas, std::string_view text, RECT rect, UINT format, TColor color) {
  canvas.Font().SetColor(color);
  DrawTextOnDC(canvas.Handle(), text, rect, format);
}

// The contours of a section's font colours: 1 to 4 (left, top, right, bottom) each draw the
// text one pixel out that way, and -1 draws none.
void DrawContours(TCanvas& canvas, std::string_view text, RECT rect, UINT format,
                  const std::array<TColor, 5>& colours) {
  const POINT shifts[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
  for (size_t i = 0; i < 4; ++i) {
    if (colours[i + 1] == -1) continue;
    RECT moved = rect;
    OffsetRect(&moved, shifts[i].x, shifts[i].y);
    DrawInColour(canvas, text, moved, format, colours[i + 1]);
  }
}

}  // namespace

void DrawSectionText(TCanvas& canvas, std::string_view text, bool enabled, RECT rect, UINT format, int sectionIndex,
                     bool hot, TsSkinManager* manager) {
  manager = ManagerOrDefault(manager);
  if (!TsSkinManager::DefaultManager() || !SectionIndexValid(manager, sectionIndex)) return;
  canvas.Brush().SetStyle(bsClear);
  if (text.empty()) return;
  const TsGeneralData& section = manager->GeneralData[static_cast<size_t>(sectionIndex)];
  const auto& colours = hot ? section.HotFontColor : section.FontColor;
  if (!enabled) return DrawInColour(canvas, text, rect, format, MixColors(section.FontColor[0], section.Color, 0.4));
  DrawContours(canvas, text, rect, format, colours);
  DrawInColour(canvas, text, rect, format, colours[0]);
}

namespace {

// The section whose font colours a control's caption takes.
int CaptionSection(TsCommonData& skinData, bool hot, TsSkinManager* manager) {
  TControl* owner = skinData.OwnerControl;
  const TsGeneralData* section = skinData.Section();
  if (!owner || !section || !owner->Parent() || !owner->ParentFont()) return skinData.SectionIndex;
  const int kind = skinData.ControlKind;
  const bool fontFromParent = kind == 32 || kind == 33 || kind == 74 || dynamic_cast<TGraphicControl*>(owner);
  const int transparency = hot ? section->HotTransparency : section->Transparency;
  if (!fontFromParent || transparency < 1) return skinData.SectionIndex;
  return ParentFontSectionIndex(owner, skinData.SectionIndex, manager);
}

}  // namespace

void WriteSkinText(TCanvas& canvas, std::string_view text, bool enabled, RECT rect, UINT format,
                   TsCommonData& skinData, bool hot) {
  if (TControl* owner = skinData.OwnerControl) {
    canvas.Font().Assign(owner->Font());
    if (hot && skinData.SkinSection() == "WEBBUTTON") canvas.Font().SetStyle(canvas.Font().Style() | fsUnderline);
  }
  HDC dc = canvas.Handle();
  efir::gdi::SavedState saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (text.empty()) return;
  TsSkinManager* manager = skinData.SkinManager();
  const int sectionIndex = CaptionSection(skinData, hot, manager);
  const bool valid = SectionIndexValid(manager, sectionIndex);
  canvas.Brush().SetStyle(bsClear);
  if (!valid) {
    DrawTextOnDC(canvas.Handle(), text, rect, enabled ? format | DT_NOCLIP : format);
    return;
  }
  const TsGeneralData& section = manager->GeneralData[static_cast<size_t>(sectionIndex)];
  if (!enabled) {
    canvas.Font().SetColor(MixColors(section.FontColor[0], GlobalInfoColor(manager), 0.4));
    DrawTextOnDC(canvas.Handle(), text, rect, format);
    return;
  }
  if (!skinData.CustomFont()) {
    const auto& colours = hot ? section.HotFontColor : section.FontColor;
    DrawContours(canvas, text, rect, format, colours);
    canvas.Font().SetColor(colours[0]);
  }
  DrawTextOnDC(canvas.Handle(), text, rect, format | DT_NOCLIP);
}

void PaintSoftShadow(TBitmap* bitmap, const RECT& rect, int transparency, TColor color, int blur, int radius) {
  if (!RowsOf(bitmap)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const int steps = std::min({w / 2, h / 2, blur});
  radius = std::min({w / 2, h / 2, radius});
  const int e = transparency * 255 / 100;
  auto copy = NewBitmap24(w, h);
  auto mask = NewBitmap24(w, h);
  BitBlt(copy->Canvas().Handle(), 0, 0, w, h, bitmap->Canvas().Handle(), rect.left, rect.top, SRCCOPY);
  TCanvas& m = mask->Canvas();
  m.Pen().SetStyle(psClear);
  m.Brush().SetStyle(bsSolid);
  auto ring = [&](int inset, int corner, int grey) {
    m.Brush().SetColor(RGB(grey, grey, grey));
    RoundRect(m.Handle(), inset, inset, w - inset, h - inset, corner, corner);
  };
  for (int t = 0; t <= steps; ++t) {
    const int grey = t == 0 ? 255 : e + static_cast<int>(std::nearbyint((255.0 - e) / (steps + 1) * (steps - t + 1)));
    ring(t, radius, grey);
  }
  ring(steps, steps, e);
  BlendColorThroughMask(copy.get(), mask.get(), color);
  BitBlt(bitmap->Canvas().Handle(), rect.left, rect.top, w, h, copy->Canvas().Handle(), 0, 0, SRCCOPY);
}
