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
#include <memory>
#include <string>
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
using TsGradArray = std::vector<TsGradBand>;

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
  std::string GradientData = " ";
  TsGradArray GradientArray;
  int ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int FadingIterations = 5;
  TColor HotColor = 0xFFFFFF;
  int HotTransparency = 0;
  int HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradientArray;
  int HotImagePercent = 0;
  // Mask indexes of BORDERSMASK and the four corner pictures; -1 = none.
  int BorderIndex = -1;
  int ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
};

struct TsMaskData {
  std::unique_ptr<TBitmap> Image;  // null: the entry is the rectangle R of the master bitmap
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
  std::unique_ptr<TJPEGImage> Image;
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
