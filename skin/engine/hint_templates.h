// The look of a skinned hint balloon: a template holds a font and up to four PNG pictures
// (the default one and variants for the balloon's corner positions), each cut into nine
// parts by the widths of its borders, with margins for the text area inside and a way of
// drawing each border part. Nothing in the programs shows these balloons; templates are kept,
// copied and adjusted, and the engine builds one default template at start-up.
//
//   TacHintTemplates templates;
//   templates.OnChange = [] { ... };            // any template of the collection changed
//   TacHintTemplate& t = templates.Add();
//   t.ImageDefault.SetImage(png);               // borders and margins: half the picture
//   t.ImageDefault.BordersWidths.SetLeft(7);    // opposite borders never overlap
//   DefaultHintTemplate()->ImageDefault.ImageWidth();   // 32 after StartEngineUnits
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics_objects.h"
#include "skin/engine/png_graphic.h"

class TacHintImage;
class TacHintTemplate;

// Border widths or text margins of a picture, in pixels. Setting one side limits it to the
// picture less one pixel and shrinks the opposite side so that the two never overlap; a
// side reads 0 while negative.
class TacBordersSizes {
 public:
  enum Side { Top, Left, Bottom, Right };
  explicit TacBordersSizes(TacHintImage& image) : image_(image) {}
  TacBordersSizes(const TacBordersSizes&) = delete;
  TacBordersSizes& operator=(const TacBordersSizes&) = delete;

  int Get(Side side) const { return values_[side] < 0 ? 0 : values_[side]; }
  void Set(Side side, int value);
  int GetTop() const { return Get(Top); }
  int GetLeft() const { return Get(Left); }
  int GetBottom() const { return Get(Bottom); }
  int GetRight() const { return Get(Right); }
  void SetTop(int value) { Set(Top, value); }
  void SetLeft(int value) { Set(Left, value); }
  void SetBottom(int value) { Set(Bottom, value); }
  void SetRight(int value) { Set(Right, value); }
  // The four values through this object's setters, Top first.
  void Assign(const TacBordersSizes& source);
  // Stores without limits (the defaults a new picture brings).
  void SetUnchecked(Side side, int value) { values_[side] = value; }

 private:
  TacHintImage& image_;
  std::array<int, 4> values_{};
};

enum TacBorderDrawMode : uint8_t { dmRepeat, dmStretch };

// How each border part and the centre are drawn.
class TacBorderDrawModes {
 public:
  enum Part { Top, Left, Bottom, Right, Center };
  explicit TacBorderDrawModes(TacHintImage& image) : image_(image) {}
  TacBorderDrawModes(const TacBorderDrawModes&) = delete;
  TacBorderDrawModes& operator=(const TacBorderDrawModes&) = delete;

  TacBorderDrawMode Get(Part part) const { return modes_[part]; }
  void Set(Part part, TacBorderDrawMode mode);
  void Assign(const TacBorderDrawModes& source);

 private:
  TacHintImage& image_;
  std::array<TacBorderDrawMode, 5> modes_{dmStretch, dmStretch, dmStretch, dmStretch, dmStretch};
};

// One picture of a template with its nine-part geometry.
class TacHintImage {
 public:
  explicit TacHintImage(TacHintTemplate& owner);
  TacHintImage(const TacHintImage&) = delete;
  TacHintImage& operator=(const TacHintImage&) = delete;

  TacHintTemplate& Template() const { return owner_; }
  // The picture's size; 0 while it is empty. Read-only.
  int ImageWidth() const { return image_.Empty() ? 0 : image_.Width(); }
  int ImageHeight() const { return image_.Empty() ? 0 : image_.Height(); }
  const TPNGGraphic& Image() const { return image_; }
  // Takes the picture: borders and margins become half of it less one pixel each way, and
  // pixels with no alpha become zero in every channel.
  void SetImage(const TPNGGraphic& picture);
  // Picture, margins, draw modes and border widths.
  void Assign(const TacHintImage& source);

  TacBordersSizes BordersWidths{*this};
  TacBordersSizes ClientMargins{*this};
  TacBorderDrawModes BorderDrawModes{*this};

 private:
  TacHintTemplate& owner_;
  TPNGGraphic image_;
};

class TacHintTemplates;

class TacHintTemplate {
 public:
  // `collection`: the collection it belongs to; nullptr for a template of its own.
  explicit TacHintTemplate(TacHintTemplates* collection = nullptr);
  TacHintTemplate(const TacHintTemplate&) = delete;
  TacHintTemplate& operator=(const TacHintTemplate&) = delete;

  TacHintTemplates* Collection() const { return collection_; }
  // The four pictures, the font and the name.
  void Assign(const TacHintTemplate& source);
  // Tells the collection's owner that the template changed.
  void Changed();

  TacHintImage ImageDefault{*this};
  TacHintImage Img_LeftBottom{*this};
  TacHintImage Img_RightBottom{*this};
  TacHintImage Img_RightTop{*this};
  std::string Name;
  TFont Font;

 private:
  TacHintTemplates* collection_;
};

// The templates of a hint component, which hears of every change through OnChange (not while
// it is loading).
class TacHintTemplates {
 public:
  TacHintTemplate& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TacHintTemplate& operator[](int index) { return *items_.at(static_cast<size_t>(index)); }

  std::function<void()> OnChange;
  bool Loading = false;

 private:
  std::vector<std::unique_ptr<TacHintTemplate>> items_;
};

// The engine's own template (the picture "ACHINT"); nullptr outside StartEngineUnits ..
// StopEngineUnits.
TacHintTemplate* DefaultHintTemplate();
void CreateDefaultHintTemplate();
void FreeDefaultHintTemplate();
