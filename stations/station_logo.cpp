#include "stations/station_logo.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/picture_gif.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"
#include "stations/station_store.h"

namespace {

// The empty logo the editor also gives a new slot.
constexpr char kEmptyLogo[] = "nil.jpg";

bool logoReported = false;

template <class TKind>
std::unique_ptr<TKind> Load(const std::string& path) {
  auto picture = std::make_unique<TKind>();
  picture->SetMaxSide(kMaxLogoSide);
  picture->LoadFromFile(path);
  return picture;
}

bool FitsShownSize(const TBitmap& picture) {
  return picture.Width() <= kLogoShownSize.cx && picture.Height() <= kLogoShownSize.cy;
}

// Scales a 24- or 32-bit picture down to kLogoShownSize (each side no larger than it was) by
// averaging the source pixels each new pixel covers; with `blendAlpha` colours are weighted by
// their opacity, so that transparent pixels lend no colour to the edges. `into` becomes a
// bitmap of the source's format.
void ScaleDown(const TBitmap& source, bool blendAlpha, TBitmap& into) {
  const int width = std::min<int>(source.Width(), kLogoShownSize.cx);
  const int height = std::min<int>(source.Height(), kLogoShownSize.cy);
  const bool alpha = source.PixelFormat() == pf32bit;
  const int bytes = alpha ? 4 : 3;
  into.SetPixelFormat(alpha ? pf32bit : pf24bit);
  into.SetSize(width, height);
  std::vector<uint64_t> sums(static_cast<size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    const int top = y * source.Height() / height, bottom = (y + 1) * source.Height() / height;
    std::fill(sums.begin(), sums.end(), 0);
    for (int sourceY = top; sourceY < bottom; ++sourceY) {
      const auto* row = static_cast<const uint8_t*>(source.ScanLine(sourceY));
      for (int x = 0; x < width; ++x) {
        uint64_t* sum = &sums[static_cast<size_t>(x) * 4];
        const int left = x * source.Width() / width, right = (x + 1) * source.Width() / width;
        for (const uint8_t* pixel = row + left * bytes; pixel < row + right * bytes; pixel += bytes) {
          const unsigned weight = alpha && blendAlpha ? pixel[3] : 255;
          for (int c = 0; c < 3; ++c) sum[c] += pixel[c] * weight;
          sum[3] += alpha ? pixel[3] : 255;
        }
      }
    }
    auto* out = static_cast<uint8_t*>(into.ScanLine(y));
    for (int x = 0; x < width; ++x) {
      const uint64_t* sum = &sums[static_cast<size_t>(x) * 4];
      const int left = x * source.Width() / width, right = (x + 1) * source.Width() / width;
      const uint64_t count = static_cast<uint64_t>(right - left) * static_cast<uint64_t>(bottom - top);
      const uint64_t weights = alpha && blendAlpha ? sum[3] : count * 255;
      uint8_t* pixel = out + x * bytes;
      for (int c = 0; c < 3; ++c)
        pixel[c] = weights ? static_cast<uint8_t>((sum[c] + weights / 2) / weights) : 0;
      if (alpha) pixel[3] = static_cast<uint8_t>((sum[3] + count / 2) / count);
    }
  }
}

// The picture as it is when it fits the place it shows in, else a new picture of `TKind`
// holding it scaled down.
template <class TKind>
std::unique_ptr<TGraphic> Fitted(std::unique_ptr<TRasterGraphic> picture, bool blendAlpha) {
  if (FitsShownSize(picture->Bitmap())) {
    if (dynamic_cast<TKind*>(picture.get())) return picture;
    auto converted = std::make_unique<TKind>();
    converted->Assign(picture->Bitmap());
    return converted;
  }
  TBitmap scaled;
  ScaleDown(picture->Bitmap(), blendAlpha, scaled);
  picture.reset();  // the whole-size picture goes before the small one is copied
  auto fitted = std::make_unique<TKind>();
  fitted->Assign(scaled);
  return fitted;
}

std::unique_ptr<TGraphic> EmptyLogo(const std::string& programFolder) {
  try {
    return NewStationLogo(programFolder + kEmptyLogo, ".jpg");
  } catch (const EPictureError&) {
  }
  return nullptr;
}

// One message a run: a folder of many damaged logos must not bury the user in boxes.
void ReportUnreadableLogo(const std::string& path) {
  if (logoReported) return;
  logoReported = true;
  Application.ShowException("Не удалось прочитать логотип радиостанции \"" + path +
                            "\": вместо него показан пустой логотип.");
}

// The bytes of a picture's rows, each padded to 4 bytes as a bitmap keeps them.
size_t PictureBytes(const TGraphic& picture) {
  const auto* raster = dynamic_cast<const TRasterGraphic*>(&picture);
  const int bits = raster && raster->Bitmap().PixelFormat() == pf24bit ? 24 : 32;
  const size_t stride = (static_cast<size_t>(picture.Width()) * bits + 31) / 32 * 4;
  return stride * static_cast<size_t>(picture.Height());
}

}  // namespace

std::unique_ptr<TGraphic> NewStationLogo(const std::string& path, const std::string& extension) {
  if (extension == ".jpg") return Fitted<TJPEGImage>(Load<TJPEGImage>(path), false);
  if (extension == ".png") return Fitted<TPngImage>(Load<TPngImage>(path), true);
  // The grids draw a still picture: the first frame, as a JPEG picture, which keeps the
  // colours under its transparent pixels.
  if (extension == ".gif") return Fitted<TJPEGImage>(Load<TGIFImage>(path), false);
  return nullptr;
}

std::unique_ptr<TGraphic> ReadStationLogo(const std::string& programFolder, int station,
                                          const std::string& extension) {
  const std::string path = StationLogoPath(programFolder, station, extension);
  try {
    return NewStationLogo(path, extension);
  } catch (const EPictureError&) {
  }
  ReportUnreadableLogo(path);
  return EmptyLogo(programFolder);
}

void ResetLogoReport() { logoReported = false; }

// --- TStationLogos -----------------------------------------------------------------------

std::shared_ptr<TGraphic> TStationLogos::Get(const std::string& programFolder, int station,
                                             const std::string& extension) {
  if (!IsTileExtension(extension)) return nullptr;
  const std::string path = StationLogoPath(programFolder, station, extension);
  if (auto known = logos_.find(path); known != logos_.end()) return known->second;
  try {
    return logos_[path] = Read(path, extension);
  } catch (const EPictureError&) {
  }
  // Kept under the damaged file's name too, before the message's own loop can paint the tile
  // again: it is neither decoded nor reported twice.
  std::shared_ptr<TGraphic> empty = SharedEmptyLogo(programFolder);
  logos_[path] = empty;
  ReportUnreadableLogo(path);
  return empty;
}

std::shared_ptr<TGraphic> TStationLogos::SharedEmptyLogo(const std::string& programFolder) {
  const std::string path = programFolder + kEmptyLogo;
  if (auto known = logos_.find(path); known != logos_.end()) return known->second;
  std::shared_ptr<TGraphic> empty;
  try {
    empty = Read(path, ".jpg");
  } catch (const EPictureError&) {
  }
  return logos_[path] = empty;
}

std::shared_ptr<TGraphic> TStationLogos::Read(const std::string& path, const std::string& extension) {
  ++decodes_;
  return NewStationLogo(path, extension);
}

void TStationLogos::Clear() { logos_.clear(); }

size_t TStationLogos::BytesHeld() const {
  std::set<const TGraphic*> counted;  // the empty logo stands under many names
  size_t bytes = 0;
  for (const auto& [path, logo] : logos_)
    if (logo && counted.insert(logo.get()).second) bytes += PictureBytes(*logo);
  return bytes;
}
