#include "skin/engine/png_graphic.h"

#include <cstdint>
#include <cstring>

#include "framework/gdi.h"
#include "framework/picture.h"
#include "framework/picture_png.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/paint_types.h"

namespace {

// From here on every ".png" picture the program loads is one of ours.
[[maybe_unused]] const bool pngFormatRegistered = [] {
  TPicture::RegisterFileFormat(".png", [] { return std::make_unique<TPNGGraphic>(); },
                               "Portable network graphics (skin engine)");
  return true;
}();

// Half-tone stretch of a 32-bit bitmap's colour bytes into a new 32-bit bitmap.
std::unique_ptr<TBitmap> StretchColours(TBitmap& source, int width, int height) {
  auto result = NewBitmap32(width, height);
  const HDC to = result->Canvas().Handle();
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, width, height, source.Canvas().Handle(), 0, 0, source.Width(), source.Height(), SRCCOPY);
  GdiFlush();
  return result;
}

bool Opaque(const TBitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    const auto* p = static_cast<const uint8_t*>(picture.ScanLine(y));
    for (int x = 0; x < picture.Width(); ++x)
      if (p[x * 4 + 3] != 255) return false;
  }
  return true;
}

}  // namespace

void TPNGGraphic::LoadFromMemory(const void* data, size_t size) {
  TBitmap decoded;
  efir::DecodePng(data, size, decoded);
  TakePicture(decoded);
}

std::unique_ptr<TGraphic> TPNGGraphic::Clone() const {
  auto copy = std::make_unique<TPNGGraphic>();
  copy->Assign(*this);
  copy->Reflected = Reflected;
  return copy;
}

void TPNGGraphic::Draw(TCanvas& canvas, const RECT& rect) const {
  if (PixelFormat() != pf32bit) {
    TBitmap::Draw(canvas, rect);
    return;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || Empty()) return;
  const bool sameSize = width == Width() && height == Height();
  // The blend below keeps 1/256 of the background under an opaque pixel: an opaque picture
  // goes on as it is, so a window's colour-key pixels stay exact and are seen through.
  if (sameSize && !Reflected && Opaque(*this)) {
    TBitmap::Draw(canvas, rect);
    return;
  }
  const bool reflect = Reflected && sameSize;
  const int paintedHeight = reflect ? height + height / 2 : height;

  // The picture is blended over what the canvas holds, then the whole area goes back at once.
  auto area = NewBitmap24(width, paintedHeight);
  const HDC target = canvas.Handle();
  BitBlt(area->Canvas().Handle(), 0, 0, width, paintedHeight, target, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const RECT cell{0, 0, width, height};
  if (sameSize) {
    // CopyAlphaCell only reads its source.
    CopyAlphaCell(cell, cell, area.get(), const_cast<TPNGGraphic*>(this), EmptyCacheSourceInfo, false, clNone, 0,
                  reflect);
  } else {
    auto stretched = StretchAlphaBitmap(*this, width, height);
    CopyAlphaCell(cell, cell, area.get(), stretched.get(), EmptyCacheSourceInfo, false, clNone, 0, false);
  }
  BitBlt(target, rect.left, rect.top, width, paintedHeight, area->Canvas().Handle(), 0, 0, SRCCOPY);
}

std::unique_ptr<TBitmap> StretchAlphaBitmap(const TBitmap& source, int width, int height) {
  // Half-tone filtering would mix the alpha byte in with the colours, so the alpha channel
  // travels separately as a grey picture.
  TBitmap colours;
  colours.Assign(source);
  colours.SetPixelFormat(pf32bit);
  TBitmap alpha(colours.Width(), colours.Height(), pf32bit);
  for (int y = 0; y < colours.Height(); ++y) {
    const auto* from = static_cast<const uint8_t*>(colours.ScanLine(y));
    auto* to = static_cast<uint8_t*>(alpha.ScanLine(y));
    for (int x = 0; x < colours.Width() * 4; x += 4) to[x] = to[x + 1] = to[x + 2] = to[x + 3] = from[x + 3];
  }
  auto result = StretchColours(colours, width, height);
  auto stretchedAlpha = StretchColours(alpha, width, height);
  for (int y = 0; y < height; ++y) {
    auto* to = static_cast<uint8_t*>(result->ScanLine(y));
    const auto* from = static_cast<const uint8_t*>(stretchedAlpha->ScanLine(y));
    for (int x = 0; x < width * 4; x += 4) to[x + 3] = from[x];
  }
  return result;
}

HICON PngToIcon(const TBitmap& png, bool maskFromCorner) {
  const int width = png.Width(), height = png.Height();
  if (width <= 0 || height <= 0) return nullptr;
  const bool hasAlpha = png.PixelFormat() == pf32bit;
  TBitmap colour;
  colour.Assign(png);
  colour.SetPixelFormat(pf32bit);
  TBitmap mask(width, height, pf1bit);
  for (int y = 0; y < height; ++y) std::memset(mask.ScanLine(y), 0, static_cast<size_t>((width + 31) / 32 * 4));
  if (maskFromCorner || !hasAlpha) {
    // Keyed pixels become transparent black both in the mask and in the alpha channel, so the
    // icon looks the same whichever of the two the system draws by.
    const uint32_t corner = *static_cast<const uint32_t*>(colour.ScanLine(0));
    const uint32_t ignored = hasAlpha ? 0 : 0xFF000000u;  // a picture without alpha has no alpha bytes to compare
    for (int y = 0; y < height; ++y) {
      auto* row = static_cast<uint32_t*>(colour.ScanLine(y));
      auto* bits = static_cast<uint8_t*>(mask.ScanLine(y));
      for (int x = 0; x < width; ++x) {
        if ((row[x] | ignored) == (corner | ignored)) {
          row[x] = 0;
          bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        } else if (!hasAlpha) {
          row[x] |= 0xFF000000u;
        }
      }
    }
  }
  GdiFlush();
  ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
  return CreateIconIndirect(&info);
}

void ClearWhiteTransparentPixels(TBitmap* bitmap) {
  // Scan lines rather than TacFast32, which refuses pictures one pixel wide or high: skins
  // have such strips too.
  if (!bitmap || bitmap->PixelFormat() != pf32bit) return;
  for (int y = 0; y < bitmap->Height(); ++y) {
    uint8_t* p = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < bitmap->Width(); ++x, p += 4)
      if (p[3] == 0 && p[0] == 255 && p[1] == 255 && p[2] == 255) p[0] = p[1] = p[2] = 0;
  }
}
