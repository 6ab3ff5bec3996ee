// The skin engine's PNG picture: a 32-bit bitmap with straight (not premultiplied) alpha,
// decoded from PNG bytes, that draws itself onto a canvas through its alpha, stretched when
// the rectangle differs from its size, with an optional fading reflection below. Loading a
// ".png" picture anywhere in the program gives one of these once the skin engine is linked.
//
//   TPNGGraphic png;
//   png.LoadFromFile("glyph.png");          // EPictureError for a missing or damaged file
//   png.Reflected = true;
//   canvas.Draw(4, 4, png);                 // paints 16 x 24 for a 16 x 16 picture
//   HICON icon = PngToIcon(png, false);     // the caller destroys it
#pragma once

#include <windows.h>

#include <memory>

#include "framework/bitmap.h"

class TPNGGraphic : public TBitmap {
 public:
  TPNGGraphic() = default;

  // Drawing adds a mirrored copy, half the picture high, below the picture.
  bool Reflected = false;

  // PNG file bytes; the picture keeps what it held when they are not a PNG.
  void LoadFromMemory(const void* data, size_t size) override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(TCanvas& canvas, const RECT& rect) const override;
};

// An icon of the picture. The mask comes from the top-left pixel (every pixel equal to it in
// all four bytes is transparent) when maskFromCorner is set or the picture has no alpha;
// otherwise the icon is transparent where the alpha says.
HICON PngToIcon(const TBitmap& png, bool maskFromCorner);

// Fully transparent white pixels of a 32-bit bitmap become transparent black, so that they do
// not lighten the blended edges of skin pictures. Other formats are left alone.
void ClearWhiteTransparentPixels(TBitmap* bitmap);

// A 32-bit copy of the picture stretched to width x height, its colours and its alpha
// channel stretched apart with half-tone filtering.
std::unique_ptr<TBitmap> StretchAlphaBitmap(const TBitmap& source, int width, int height);
