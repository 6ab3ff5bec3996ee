// A holder of one graphic of any kind, as picture controls and grid cells use it. Loading a
// file picks the kind by the file's extension: .bmp, .png, .jpg/.jpeg, .gif and .ico are
// known, and a module may register its own kind for an extension (replacing the default).
//
//   TPicture picture;
//   picture.OnChange = [this] { Invalidate(); };
//   picture.LoadFromFile("Stations\\logo12.png");   // EPictureError: unknown or bad file
//   if (picture.Graphic()) canvas.StretchDraw(rect, *picture.Graphic());
//   picture.Assign(nullptr);                          // empty again
#pragma once

#include "framework/bitmap.h"

#include <functional>
#include <memory>
#include <string>

class TPicture {
 public:
  using GraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // The graphic held, nullptr when empty; owned by the picture.
  TGraphic* Graphic() const { return graphic_.get(); }
  // The picture as a bitmap to draw on: a graphic of another kind is replaced by an empty
  // bitmap first.
  TBitmap& Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // On failure EPictureError, and the picture keeps what it held.
  void LoadFromFile(const std::string& fileName);
  // Holds a copy of `source` (of the same kind); nullptr empties the picture.
  void Assign(const TGraphic* source);
  void Assign(const TPicture& source) { Assign(source.Graphic()); }

  // Raised whenever the graphic is replaced or changes itself.
  std::function<void()> OnChange;

  // `extension` with its dot, any case: ".png". The description names the kind to people
  // (as file dialogs list it).
  static void RegisterFileFormat(const std::string& extension, GraphicFactory factory,
                                 const std::string& description = "");
  // The description registered for the extension; empty when none was given.
  static std::string FileFormatDescription(const std::string& extension);

 private:
  void Hold(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
};
