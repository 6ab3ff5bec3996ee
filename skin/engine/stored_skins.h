// Skins carried inside a window layout, so that a program needs no skin files. An item
// normally holds a packed skin (the same container as an "asz" file) as its Data; an item
// whose Data is empty is an older stored skin whose sections, pictures and patterns lie in
// its own lists, read as they are (no PARENTCLASS, no text).
//
//   TsStoredSkin& skin = sSkinManager1->InternalSkins().Add();
//   skin.Name = "Night";
//   skin.Data.LoadFromFile(path);         // or the layout's bytes
//
// Copying follows the layout classes' rules: a stored skin copies everything it holds, its
// pictures and patterns item by item; sections of the older form cannot be copied (Assign
// raises EConvertError), and assigning a whole list of stored skins does nothing.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "framework/gdi.h"
#include "framework/picture_jpeg.h"
#include "framework/streams.h"
#include "skin/engine/skin_data.h"

// A list that owns its items and hands out references that stay valid while it grows.
template <class Item>
class TsCollection {
 public:
  Item& Add() { return *items_.emplace_back(std::make_unique<Item>()); }
  int Count() const { return static_cast<int>(items_.size()); }
  Item& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const Item& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  // Replaces the items by copies of source's (Item::Assign), in order; when a copy fails
  // the items stay as they were.
  void Assign(const TsCollection& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<Item>> copies;
    for (int i = 0; i < source.Count(); ++i) copies.emplace_back(std::make_unique<Item>())->Assign(source.Items(i));
    items_ = std::move(copies);
  }

 private:
  std::vector<std::unique_ptr<Item>> items_;
};

// A picture of an older stored skin: its own Image when Name is set, else the rectangle
// Left, Top, Right, Bottom of the stored master bitmap.
struct TsSkinImage {
  std::string Name;
  TBitmap Image;
  std::string SectionName, PropertyName;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int ImageCount = 0, MaskType = 0, BorderWidth = 0, StretchMode = 0;
  TacImgType ImgType = itisaBorder;
  int WL = 0, WR = 0, WT = 0, WB = 0;

  void Assign(const TsSkinImage& source);
};

// A JPEG pattern of an older stored skin; items of one Name may share one picture.
struct TsSkinPattern {
  std::string Name;
  TJPEGImage Image;
  std::string SectionName, PropertyName;

  void Assign(const TsSkinPattern& source);
};

// A section of an older stored skin. FontColor and HotFontColor are five numbers separated
// by blanks: the font colour and the four contour colours.
struct TsSkinGeneral {
  std::string Name, SectionName, ParentClass;
  TColor Color = 0xFFFFFF;
  bool ReservedBoolean = false;
  std::string FontColor, HotFontColor;
  int Transparency = 0, GlowCount = 0, GlowMargin = 0, GradientPercent = 0;
  std::string GradientData = " ";
  int ImagePercent = 0;
  bool ShowFocus = false, FadingEnabled = false;
  int FadingIterations = 5;
  TColor HotColor = 0xFFFFFF;
  int HotTransparency = 0, HotGradientPercent = 0;
  std::string HotGradientData;
  int HotImagePercent = 0;
  bool GiveOwnFont = false;

  // Sections are not copied one by one: always raises EConvertError.
  void Assign(const TsSkinGeneral&) { throw EConvertError("Cannot assign a TsSkinGeneral to a TsSkinGeneral"); }
};

class TsStoredSkin {
 public:
  std::string Name;
  TMemoryStream Data;
  TsCollection<TsSkinGeneral> GeneralData;
  TsCollection<TsSkinImage> Images;
  TsCollection<TsSkinPattern> Patterns;
  TBitmap MasterBitmap;
  TColor Shadow1Color = 0;
  int Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
  TColor BorderColor = 0xFF00FF;
  double Version = 0;
  std::string Author, Description;

  // Copies everything source holds; nullptr raises EConvertError, as does a source with
  // older-form sections (see TsSkinGeneral).
  void Assign(const TsStoredSkin* source);
};

class TsStoredSkins : public TsCollection<TsStoredSkin> {
 public:
  // Does nothing: a manager's stored skins are never replaced wholesale by another's.
  void Assign(const TsStoredSkins&) {}

  // The first item whose name equals `name` exactly; -1 when none.
  int IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
      if (Items(i).Name == name) return i;
    return -1;
  }
};
