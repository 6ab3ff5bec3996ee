#include "skin/engine/skin_recolour.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

using ColourChange = std::function<TColor(TColor)>;

bool IsGrey(const uint8_t* p) { return p[0] == p[1] && p[1] == p[2]; }

// Pictures that are neither 24- nor 32-bit become 24-bit, so that their rows can be reached.
void MakeRowsReachable(TBitmap* bitmap) {
  if (bitmap && !bitmap->Empty() && bitmap->PixelFormat() != pf24bit && bitmap->PixelFormat() != pf32bit)
    bitmap->SetPixelFormat(pf24bit);
}

// Changes every pixel but the key colour and greys. A 32-bit picture keeps its alpha bytes.
void RecolourPixels(TBitmap* bitmap, const ColourChange& change) {
  MakeRowsReachable(bitmap);
  const PixelRows rows = RowsOf(bitmap);
  for (int y = 0; y < rows.Height; ++y)
    for (int x = 0; x < rows.Width; ++x) {
      uint8_t* p = rows.At(x, y);
      if (!PixelIs(p, TransparentKeyColor) && !IsGrey(p)) SetPixelColor(p, change(PixelColor(p)));
    }
}

void RecolourRecords(TsSkinManager& manager, const ColourChange& change) {
  auto changeSet = [&](TColor& colour) {
    if (colour != -1) colour = change(colour);
  };
  // Bands shared by many sections are changed once, and stay shared.
  // By the address of the bands before; the value keeps those alive beside the changed ones.
  std::map<const TsGradBand*, std::pair<TsGradArray, TsGradArray>> changedBands;
  auto changeBands = [&](TsGradArray& bands) {
    if (bands.empty()) return;
    const TsGradBand* before = std::as_const(bands).begin();
    if (auto done = changedBands.find(before); done != changedBands.end()) {
      bands = done->second.second;
      return;
    }
    TsGradArray original = bands;
    for (TsGradBand& band : bands) {
      band.Color1 = change(band.Color1);
      band.Color2 = change(band.Color2);
    }
    changedBands.emplace(before, std::make_pair(std::move(original), bands));
  };
  for (TsGeneralData& section : manager.GeneralData) {
    section.Color = change(section.Color);
    section.HotColor = change(section.HotColor);
    for (TColor& colour : section.FontColor) changeSet(colour);
    for (TColor& colour : section.HotFontColor) changeSet(colour);
    // The bands are parsed from the gradient texts, so they are exactly the bands defined.
    changeBands(section.GradientArray);
    changeBands(section.HotGradientArray);
  }
  manager.LoadedSkin.Shadow1Color = change(manager.LoadedSkin.Shadow1Color);
  manager.LoadedSkin.BorderColor = change(manager.LoadedSkin.BorderColor);
}

// A picture shared by several entries is changed once. One shared with a skipped entry is
// copied first, so that the skipped entry keeps its colours.
void RecolourPictures(TsSkinManager& manager, const ColourChange& change, const std::vector<int>& skipped) {
  RecolourPixels(manager.MasterBitmap.get(), change);
  auto isSkipped = [&](size_t i) { return std::find(skipped.begin(), skipped.end(), static_cast<int>(i)) != skipped.end(); };
  std::set<const TBitmap*> kept, changed;
  for (size_t i = 0; i < manager.Masks.size(); ++i)
    if (manager.Masks[i].Image && isSkipped(i)) kept.insert(manager.Masks[i].Image.get());
  std::map<const TBitmap*, std::shared_ptr<TBitmap>> copies;  // of kept pictures, changed
  for (size_t i = 0; i < manager.Masks.size(); ++i) {
    std::shared_ptr<TBitmap>& image = manager.Masks[i].Image;
    if (!image || isSkipped(i)) continue;
    if (kept.count(image.get())) {
      std::shared_ptr<TBitmap>& copy = copies[image.get()];
      if (!copy) {
        copy = std::make_shared<TBitmap>();
        copy->Assign(*image);
        RecolourPixels(copy.get(), change);
      }
      image = copy;
    } else if (changed.insert(image.get()).second) {
      RecolourPixels(image.get(), change);
    }
  }
}

// Title-bar glyphs that keep their colours through a hue change: pictures of their own are
// skipped, pieces of the master bitmap are put back afterwards.
class KeptGlyphs {
 public:
  KeptGlyphs(TsSkinManager& manager, int keepHue) : manager_(manager) {
    if (keepHue == 0) return;
    for (const char* name : {"BICONCLOSE", "SICONCLOSE"}) Keep(name);
    if (keepHue != 1) return;
    for (const char* name : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"})
      Keep(name);
  }
  const std::vector<int>& Skipped() const { return skipped_; }

  void PutBack() {
    const PixelRows master = RowsOf(manager_.MasterBitmap.get());
    for (const Piece& piece : pieces_) {
      const uint8_t* from = piece.Pixels.data();
      for (int y = piece.Area.top; y < piece.Area.bottom; ++y, from += piece.RowBytes)
        std::copy(from, from + piece.RowBytes, master.At(piece.Area.left, y));
    }
  }

 private:
  // Pixels of the master bitmap put aside, row after row.
  struct Piece {
    RECT Area;
    size_t RowBytes;
    std::vector<uint8_t> Pixels;
  };

  void Keep(const std::string& name) {
    const int index = MaskIndexExact(&manager_, "GLOBALINFO", name);
    if (index < 0 || manager_.Masks[index].Image) {
      skipped_.push_back(index);
    } else {
      SetAside(manager_.Masks[index].R);
    }
    const int glow = MaskIndexExact(&manager_, "GLOBALINFO", name + "GLOW0");
    if (glow >= 0 && manager_.Masks[glow].Image) skipped_.push_back(glow);
  }

  void SetAside(RECT area) {
    const PixelRows master = RowsOf(manager_.MasterBitmap.get());
    area.left = std::max<LONG>(area.left, 0), area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, master.Width), area.bottom = std::min<LONG>(area.bottom, master.Height);
    if (area.right <= area.left || area.bottom <= area.top) return;
    Piece piece{area, static_cast<size_t>(area.right - area.left) * master.Bytes, {}};
    for (int y = area.top; y < area.bottom; ++y) {
      const uint8_t* row = master.At(area.left, y);
      piece.Pixels.insert(piece.Pixels.end(), row, row + piece.RowBytes);
    }
    pieces_.push_back(std::move(piece));
  }

  TsSkinManager& manager_;
  std::vector<int> skipped_;
  std::vector<Piece> pieces_;
};

}  // namespace

void ChangeSkinHue(TsSkinManager& manager, int offset) {
  // A turn the other way is the same turn made forwards, which the colour routine expects.
  offset = (offset % 360 + 360) % 360;
  if (offset == 0) return;
  const ColourChange change = [offset](TColor colour) { return ChangeColorHue(offset, colour); };
  MakeRowsReachable(manager.MasterBitmap.get());
  KeptGlyphs kept(manager, manager.LoadedSkin.BIKeepHue);
  RecolourPictures(manager, change, kept.Skipped());
  kept.PutBack();
  RecolourRecords(manager, change);
}

void ChangeSkinSaturation(TsSkinManager& manager, int saturation) {
  if (saturation == 0) return;
  const int amount = -(saturation % 101);
  // System colours are resolved first: their index byte is no colour to saturate.
  const ColourChange change = [amount](TColor colour) {
    return ChangeColorSaturation(static_cast<TColor>(ColorToRGB(colour)), amount);
  };
  RecolourPictures(manager, change, {});
  RecolourRecords(manager, change);
}
