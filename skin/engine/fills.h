// Device-context fills and copies, the greyscale filters, the skin engine's text routines
// and the soft shadow of the scroll-bar painters. Skinned text is drawn in the section's font
// colour and, where the skin gives them, four one-pixel contour copies (left, top, right,
// bottom) underneath, which give engraved or outlined captions.
//
//   FillRectSolid(dc, rect, clBtnFace);                        // system colours resolved
//   FillBorderBand(cache.Canvas().Handle(), rect, 2, 2, 2, 2, colour);
//   DrawSectionText(canvas, "OK", true, rect, DT_CENTER, section, hot, manager);
//
// Every routine gives back what it took: device-context states, brushes and temporary
// bitmaps are released on every path. Text is Windows-1251 and drawn with the wide calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/bitmap.h"
#include "framework/canvas.h"

class TsCommonData;
class TsSkinManager;
class TWinControl;

// Fills rect with a solid brush of the colour.
void FillRectSolid(HDC dc, const RECT& rect, TColor color);
// Fills the four bands of the given widths along the inside of rect with one brush.
void FillBorderBand(HDC dc, const RECT& rect, int wl, int wt, int wr, int wb, TColor color);
// Copies the band borderWidth wide around the rectangle (x, y, width, height) of destDC from
// the same place relative to (sourceX, sourceY) of sourceDC; the inside is left alone.
void CopyBorderFrame(HDC destDC, int x, int y, int width, int height, HDC sourceDC, int sourceX, int sourceY,
                     int borderWidth);
// Which children ExcludeChildControlRects leaves out (a set): the windowless ones, as the
// control painters want; the windowed ones too when a form's frame image is painted.
enum ExcludedChildrenItem : uint8_t { ecGraphic = 1, ecWindowed = 2 };
using ExcludedChildren = uint8_t;
// Excludes the visible children of those kinds, moved by the offsets, from dc's clipping.
void ExcludeChildControlRects(HDC dc, TWinControl* parent, int offsetX, int offsetY,
                              ExcludedChildren kinds = ecGraphic);

// Every pixel of a 24-bit bitmap becomes the grey (blue + green + red) div 3.
void GrayscaleBitmap(TBitmap* bitmap);
// The same, leaving pixels of the key colour as they are.
void GrayscaleBitmapExcept(TBitmap* bitmap, TColor keyColor);

// The text cut at its end to fit maxWidth with "..." appended; empty when even that is wider.
std::string CutTextWithEllipsis(TCanvas& canvas, std::string_view text, int maxWidth);
// DrawText of the whole text with the DT_ flags; the rectangle as DrawText leaves it, which
// with DT_CALCRECT is the text's measure. Measure and draw with this one call, so that both
// see the same (wide) text.
RECT DrawTextOnDC(HDC dc, std::string_view text, RECT rect, UINT format);
// The rectangle DrawText with DT_CALCRECT and these flags gives the text, starting at `rect`.
RECT MeasureTextOnDC(HDC dc, std::string_view text, RECT rect, UINT format);
int CanvasTextWidth(TCanvas& canvas, std::string_view text);
SIZE CanvasTextExtent(TCanvas& canvas, std::string_view text);
void CanvasTextRect(TCanvas& canvas, const RECT& rect, int x, int y, std::string_view text);

// Text in the colours of a skin section: the contours, then the font colour (the hot ones when
// hot); disabled text once, in 40 % font colour over 60 % section colour. Nothing for an
// invalid section or without a manager (nullptr: the default one).
void DrawSectionText(TCanvas& canvas, std::string_view text, bool enabled, RECT rect, UINT format, int sectionIndex,
                     bool hot, TsSkinManager* manager);
inline void WriteSectionText(TCanvas& canvas, std::string_view text, bool enabled, RECT rect, UINT format,
                             int sectionIndex, bool hot, TsSkinManager* manager) {
  DrawSectionText(canvas, text, enabled, rect, format, sectionIndex, hot, manager);
}

// A control's caption in its skin colours, in the control's font, clipped to rect. A check
// box, radio button, group box or windowless control with ParentFont over a see-through
// section takes its parent's font colours. Disabled text: 40 % font colour over 60 % of the
// GLOBALINFO colour.
void WriteSkinText(TCanvas& canvas, std::string_view text, bool enabled, RECT rect, UINT format,
                   TsCommonData& skinData, bool hot);

// Colours rect of the bitmap with a soft-edged rounded shape: fully `color` inside, fading
// over `blur` rings to the untouched picture; transparency is the share of the picture kept
// in the middle.
void PaintSoftShadow(TBitmap* bitmap, const RECT& rect, int transparency, TColor color, int blur, int radius);
