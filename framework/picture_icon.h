// Icons (.ico files): the entry that best fits the system's icon size, as an icon handle for
// windows and tray icons, drawn with its own transparency.
//
//   TIcon icon;
//   icon.LoadFromFile("player.ico");
//   HICON h = icon.Handle();                  // owned by the icon
//   std::string file = icon.SaveToMemory();   // one 32-bit entry with its alpha
#pragma once

#include <string>

#include "framework/graphics.h"

class TIcon : public TGraphic {
 public:
  TIcon() = default;
  ~TIcon() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HICON Handle() const { return icon_; }
  // Takes ownership of `icon` (nullptr empties the icon).
  void SetHandle(HICON icon);

  void LoadFromMemory(const void* data, size_t size) override;
  // The icon as an icon file (one 32-bit entry, alpha and mask from its transparency);
  // empty for an empty icon.
  std::string SaveToMemory() const;
  // Icons are copied from icons only: other pictures raise EPictureError.
  void Assign(const TGraphic& source) override;
  // A 32-bit bitmap with the icon's transparency as alpha.
  void AssignTo(TBitmap& dest) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(TCanvas& canvas, const RECT& rect) const override;

 private:
  HICON icon_ = nullptr;
  int width_ = 0, height_ = 0;
};
