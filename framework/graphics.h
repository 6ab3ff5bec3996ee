// The base of everything a canvas can draw as a picture: bitmaps, the decoded picture files
// (PNG, JPEG, GIF) and icons. A graphic knows its size, draws itself stretched into a
// rectangle, loads itself from a file or from bytes, and turns itself into a bitmap.
//
//   TPngImage png;
//   png.LoadFromFile("logo.png");        // EPictureError when the file is missing or bad
//   canvas.Draw(10, 10, png);
//   TJPEGImage jpeg; jpeg.Assign(png);   // any graphic goes through its bitmap form
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TCanvas;

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }

  // Reads the file (Windows-1251 name) and decodes it; EPictureError names the file when
  // it cannot be opened or decoded, and the graphic is then left as it was.
  void LoadFromFile(const std::string& fileName);
  // Decodes the bytes of a whole file held in memory; EPictureError when they are not one.
  virtual void LoadFromMemory(const void* data, size_t size) = 0;

  // Takes the picture of any graphic (through its bitmap form where the kinds differ).
  virtual void Assign(const TGraphic& source) = 0;
  // Puts this picture into `dest` as a bitmap.
  virtual void AssignTo(TBitmap& dest) const = 0;
  // A new graphic of the same kind holding the same picture.
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // Draws the picture stretched into `rect` of the canvas; callers use TCanvas::Draw and
  // StretchDraw, which skip empty graphics and unbound canvases.
  virtual void Draw(TCanvas& canvas, const RECT& rect) const = 0;

  // Raised after the picture changed (loaded, assigned, resized).
  std::function<void()> OnChange;

 protected:
  TGraphic() = default;
  void Changed() {
    if (OnChange) OnChange();
  }
};
