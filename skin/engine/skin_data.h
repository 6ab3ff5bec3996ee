// The loaded form of a skin, read by every painter, skinned control and window adapter:
// the skin's global values (TsSkinData), one record per section (TsGeneralData), per image
// entry (TsMaskData) and per JPEG pattern (TsPatternData), and the gradient bands. A
// TsSkinManager owns one of each list; others keep indexes into them, never copies, and -1
// always means none.
//
//   const TsMaskData& m = manager->Masks[i];
//   int w = MaskStateWidth(m), h = MaskStateHeight(m);   // one state picture
//   const TBitmap& from = m.Image ? *m.Image : *manager->MasterBitmap;
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/bitmap.h"
#include "framework/gdi.h"
#include "framework/picture_jpeg.h"

class TsSkinManager;

struct TsGradBand {
  TColor Color1 = 0;
  TColor Color2 = 0;
  uint8_t Percent = 0;  // 0..100
  int32_t Mode = 0;     // of the first band: 0 vertical, 1 horizontal, 2 triangle mesh
};

// The bands of one gradient. Copies share their bands until one of them is changed, so the
// sections that inherit one long gradient hold it once.
class TsGradArray {
 public:
  TsGradArray() = default;
  TsGradArray(std::initializer_list<TsGradBand> bands) : bands_(std::make_shared<Bands>(bands)) {}

  size_t size() const { return bands_ ? bands_->size() : 0; }
  bool empty() const { return size() == 0; }
  const TsGradBand& operator[](size_t i) const { return (*bands_)[i]; }
  const TsGradBand* begin() const { return bands_ ? bands_->data() : nullptr; }
  const TsGradBand* end() const { return begin() + size(); }
  // Changing access: a shared array takes its own copy first.
  TsGradBand& operator[](size_t i) { return Own()[i]; }
  TsGradBand* begin() { return empty() ? nullptr : Own().data(); }
  TsGradBand* end() { return begin() + size(); }
  void clear() { bands_.reset(); }
  void push_back(const TsGradBand& band) { Own().push_back(band); }
  // Both hold the very same bands (not merely equal ones).
  bool SharesWith(const TsGradArray& other) const { return bands_ == other.bands_; }

 private:
  using Bands = std::vector<TsGradBand>;
  Bands& Own() {
    if (!bands_)
      bands_ = std::make_shared<Bands>();
    else if (bands_.use_count() > 1)
      bands_ = std::make_shared<Bands>(*bands_);
    return *bands_;
  }
  std::shared_ptr<Bands> bands_;
};

// An unchanging text that copies share: a long gradient text inherited by many sections is
// held once.
class TsSharedText {
 public:
  TsSharedText() = default;
  explicit TsSharedText(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}
  const std::string& str() const { return text_ ? *text_ : Empty(); }
  operator const std::string&() const { return str(); }
  bool operator==(const TsSharedText& other) const { return str() == other.str(); }
  bool operator==(std::string_view other) const { return str() == other; }
  bool SharesWith(const TsSharedText& other) const { return text_ == other.text_; }

 private:
  static const std::string& Empty() {
    static const std::string empty;
    return empty;
  }
  std::shared_ptr<const std::string> text_;
};

enum TacImgType : uint8_t { itisaBorder, itisaTexture, itisaGlyph, itisaGlow, itisaPngGlyph };

class TsSkinData {
 public:
  std::string SkinPath;  // the skin's folder with a trailing backslash; empty for a stored skin
  bool Active = false;   // False from the start of a load until the skin is announced
  double Version = 0;
  std::string Author;
  std::string Description;
  TColor Shadow1Color = 0;
  int Shadow1Offset = 0;
  int Shadow1Blur = -1;
  int Shadow1Transparency = 0;
  int BorderWidth = 4;
  int TitleHeight = 30;
  int MaxHeight = 30;
  int FormOffset = 8;
  int CenterOffset = 0;
  int BorderMode = 0;
  TColor BorderColor = 0;
  int BISpace = 0;
  int BIVAlign = 0;
  int BIRight = 0;
  int BILeft = 0;
  int BIKeepHue = 0;
  int BICloseGlow = 0, BICloseGlowMargin = 0;
  int BIMaxGlow = 0, BIMaxGlowMargin = 0;
  int BIMinGlow = 0, BIMinGlowMargin = 0;
};

struct TsGeneralData {
  std::string ParentClass;
  std::string SectionName;
  TColor Color = 0xFFFFFF;
  // Font colour, then the text contour colours left, top, right, bottom (-1 = none).
  std::array<TColor, 5> FontColor{0, -1, -1, -1, -1};
  std::array<TColor, 5> HotFontColor{0, -1, -1, -1, -1};
  bool GiveOwnFont = false;
  int GlowCount = 0;
  int GlowMargin = 0;
  bool ReservedBoolean = false;
  int Transparency = 0;
  int GradientPercent = 0;
  TsSharedText GradientData{" "};
  TsGradArray GradientArray;
  int ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int FadingIterations = 5;
  TColor HotColor = 0xFFFFFF;
  int HotTransparency = 0;
  int HotGradientPercent = 0;
  TsSharedText HotGradientData;
  TsGradArray HotGradientArray;
  int HotImagePercent = 0;
  // Mask indexes of BORDERSMASK and the four corner pictures; -1 = none.
  int BorderIndex = -1;
  int ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
};

struct TsMaskData {
  // Null: the entry is the rectangle R of the master bitmap. Entries that name one picture
  // share it.
  std::shared_ptr<TBitmap> Image;
  std::string SectionName;
  std::string PropertyName;
  RECT R{};                        // all states side by side, the picture above its mask rows
  int ImageCount = 0;
  int MaskType = 0;                // mask rows under the picture row; -1 = no rows
  int BorderWidth = 0;
  int StretchMode = 0;
  TacImgType ImgType = itisaBorder;
  TsSkinManager* Manager = nullptr;
  int WL = 0, WT = 0, WR = 0, WB = 0;
};

struct TsPatternData {
  std::shared_ptr<TJPEGImage> Image;  // shared by the entries that name one picture
  std::string SectionName;
  std::string PropertyName;
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;

// Indexes the manager finds once after each load, for the parts every window paints
// (CacheFixedIndexes); -1 where the skin has no such section or picture. "Mask" slots are
// BORDERSMASK pictures, "Tex"/"HotTex" PATTERN/HOTPATTERN textures, "Glyph" GLYPHMASK.
struct TsFixedIndexes {
  int IdxGlobalInfo = -1;
  int MaskExBorder = -1;
  int IdxTabTop = -1, IdxTabBottom = -1, IdxTabLeft = -1, IdxTabRight = -1;
  int MaskTabTop = -1, MaskTabBottom = -1, MaskTabLeft = -1, MaskTabRight = -1;
  int IdxScrollBtnTop = -1, IdxScrollBtnBottom = -1, IdxScrollBtnLeft = -1, IdxScrollBtnRight = -1;
  int MaskScrollBtnTop = -1, MaskScrollBtnBottom = -1, MaskScrollBtnLeft = -1, MaskScrollBtnRight = -1;
  int TexScrollBtnTop = -1, TexScrollBtnBottom = -1, TexScrollBtnLeft = -1, TexScrollBtnRight = -1;
  int HotTexScrollBtnTop = -1, HotTexScrollBtnBottom = -1, HotTexScrollBtnLeft = -1, HotTexScrollBtnRight = -1;
  int GlyphScrollBtnTop = -1, GlyphScrollBtnBottom = -1, GlyphScrollBtnLeft = -1, GlyphScrollBtnRight = -1;
  int IdxSliderV = -1, IdxSliderH = -1;
  int MaskSliderV = -1, MaskSliderH = -1;
  int GlyphSliderV = -1, GlyphSliderH = -1;
  int TexSliderH = -1, HotTexSliderH = -1, TexSliderV = -1, HotTexSliderV = -1;
  int IdxScrollBar1H = -1, IdxScrollBar1V = -1, IdxScrollBar2H = -1, IdxScrollBar2V = -1;
  int MaskScrollBar1H = -1, MaskScrollBar1V = -1, MaskScrollBar2H = -1, MaskScrollBar2V = -1;
  int TexScrollBar1H = -1, TexScrollBar1V = -1, TexScrollBar2H = -1, TexScrollBar2V = -1;
  int HotTexScrollBar1H = -1, HotTexScrollBar1V = -1, HotTexScrollBar2H = -1, HotTexScrollBar2V = -1;
  int MaskBoxChecked = -1, MaskBoxUnchecked = -1, MaskBoxGrayed = -1;
  int MaskRadioChecked = -1, MaskRadioUnchecked = -1, MaskRadioGrayed = -1;
  int MaskSmallChecked = -1, MaskSmallUnchecked = -1, MaskSmallGrayed = -1;
  int IdxComboBtn = -1;
  int MaskComboBtn = -1;
  int TexComboBtn = -1, HotTexComboBtn = -1;
  int GlyphComboBox = -1;
};

// Width of one state picture: 0 when ImageCount is 0.
int MaskStateWidth(const TsMaskData& mask);
// Height of one state picture: 0 when MaskType is -1.
int MaskStateHeight(const TsMaskData& mask);
