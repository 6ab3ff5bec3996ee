// An off-screen picture with a canvas. pf24bit and pf32bit bitmaps are device-independent
// sections whose rows are reached directly (blue, green, red[, alpha] bytes); pf8bit has a
// grey palette (index = brightness) and pf1bit black and white; pfDevice, the default, is a
// bitmap in the screen's own format.
//
//   TBitmap bmp;
//   bmp.SetPixelFormat(pf32bit);
//   bmp.SetSize(64, 32);                        // keeps what fits of the old picture
//   auto* row = static_cast<uint8_t*>(bmp.ScanLine(y));   // row y, top row first
//   bmp.Canvas().FillRect({0, 0, 64, 32});
//
// Rows are stored top-down and each row is padded to a multiple of 4 bytes: step from row to
// row with ScanLine, not with Width × bytes a pixel. While its canvas exists the bitmap stays
// selected into the canvas's memory DC, so Handle() cannot be selected into another DC.
#pragma once

#include "framework/canvas.h"
#include "framework/graphics.h"

#include <memory>
#include <string>

enum TPixelFormat { pfDevice, pf1bit, pf8bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  ~TBitmap() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);
  TPixelFormat PixelFormat() const { return format_; }
  // Converts the picture; colours are kept as far as the new format can hold them.
  void SetPixelFormat(TPixelFormat format);

  // The first byte of row `row` (0 = top). A pfDevice bitmap becomes pf32bit first, since
  // only device-independent rows can be reached. Raises for a row outside the bitmap.
  void* ScanLine(int row);
  // Read access; raises for a pfDevice bitmap, which has no rows of its own.
  const void* ScanLine(int row) const;
  TCanvas& Canvas();
  // The bitmap's GDI handle, owned by the bitmap; nullptr while it is empty.
  HBITMAP Handle() const { return bitmap_.get(); }

  // A transparent bitmap draws without the pixels of TransparentColor, which is the
  // bottom-left pixel's colour until one is set.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);

  // Windows bitmap files (.bmp): read in any format GDI knows, written in the bitmap's own.
  void LoadFromMemory(const void* data, size_t size) override;
  // Bits a pixel of the file the picture was read from (1, 4, 8, 16, 24, 32): the picture is
  // kept in 24 or 32 bits, but glyphs drawn in 16 colours order their cells differently. 0 for
  // a picture made in memory; a change of pixel format makes it 0.
  int LoadedBitCount() const { return loadedBits_; }
  void SaveToFile(const std::string& fileName) const;
  // The bytes SaveToFile writes: a .bmp file in memory, for pictures kept inside other data.
  std::string SaveToMemory() const;

  void Assign(const TGraphic& source) override;
  void AssignTo(TBitmap& dest) const override;
  // Moves source's picture here without copying its pixels; source is left empty. A decoder
  // fills a bitmap of its own and hands it over, so a large picture never exists twice.
  void TakePicture(TBitmap& source);
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(TCanvas& canvas, const RECT& rect) const override;

 private:
  // Replaces the picture by a new one of this size and format, copying the old one over.
  void Recreate(int width, int height, TPixelFormat format, bool keepPicture);
  uint8_t* Row(int row) const;
  HDC MemoryDC();
  void ReleaseMemoryDC();
  // Calls use(dc) with the bitmap selected into a DC: the canvas's when there is one, else a
  // DC for the moment, so that pictures that are only drawn keep no DC of their own.
  template <class Use>
  void WithDC(Use use) const {
    if (dc_) return use(dc_);
    efir::gdi::MemoryDC dc;
    efir::gdi::Selection selected(dc, bitmap_.get());
    use(dc.get());
  }

  efir::gdi::Object<HBITMAP> bitmap_;
  uint8_t* bits_ = nullptr;  // nullptr for pfDevice
  int width_ = 0, height_ = 0;
  int stride_ = 0;
  TPixelFormat format_ = pfDevice;
  int loadedBits_ = 0;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;  // clDefault: the bottom-left pixel
  // The memory DC the bitmap is selected into while it has a canvas.
  HDC dc_ = nullptr;
  HGDIOBJ dcBitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

namespace efir {

// Blends a pf32bit bitmap whose alpha bytes are straight (not premultiplied) opacity onto the
// canvas, stretched into `rect`: how pictures with an alpha channel are drawn.
void DrawWithAlpha(TCanvas& canvas, const RECT& rect, const TBitmap& bitmap);

}  // namespace efir
