#include "skin/engine/alpha_image_list.h"

#include <algorithm>
#include <memory>

#include "framework/gdi.h"
#include "framework/picture_icon.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/png_graphic.h"
#include "skin/engine/textures.h"

namespace {

// Keeps the guard set for one build, also when a damaged item raises.
class UpdateScope {
 public:
  explicit UpdateScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~UpdateScope() { flag_ = false; }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  bool& flag_;
};

// Owns an icon handle for one scope.
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// True when some pixel of the icon's colour bitmap has a non-zero alpha byte.
bool IconHasAlpha(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  efir::gdi::Object<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (!colour || !GetObjectW(colour.get(), sizeof bm, &bm) || bm.bmBitsPixel != 32) return false;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  efir::gdi::WindowDC screen;
  if (!GetDIBits(screen, colour.get(), 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bi, DIB_RGB_COLORS))
    return false;
  return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
}

}  // namespace

TsAlphaImageList::TsAlphaImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  CreateImageListHandle();
}

TsAlphaImageList::~TsAlphaImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int TsAlphaImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TsAlphaImageList::CreateImageListHandle() {
  handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 0, 4);
  if (handle_) ImageList_SetBkColor(handle_, CLR_NONE);
}

void TsAlphaImageList::AddItem(TsImageFormat format, std::vector<uint8_t> bytes) {
  TsImgListItem item{format, pf32bit, std::move(bytes)};
  if (KeepSourceItems) {
    Items.push_back(std::move(item));
  } else if (handle_) {
    // Without source items the system list cannot be rebuilt: the new image is appended.
    AddToStdList(item);
    StdListBuilt = true;
  }
  Change();
}

void TsAlphaImageList::AddToStdList(const TsImgListItem& item) {
  if (item.ImageFormat == ifPNG) {
    TPNGGraphic png;
    png.LoadFromMemory(item.ImgData.data(), item.ImgData.size());
    IconHandle icon(PngToIcon(png, false));
    if (icon) ImageList_AddIcon(handle_, icon.get());
  } else {
    TIcon icon;
    icon.LoadFromMemory(item.ImgData.data(), item.ImgData.size());
    ImageList_AddIcon(handle_, icon.Handle());
  }
}

void TsAlphaImageList::GenerateStdList() {
  if (!handle_) return;
  UpdateScope guard(updating_);
  ImageList_RemoveAll(handle_);
  for (const TsImgListItem& item : Items) AddToStdList(item);
  if (Items.empty()) return;
  StdListBuilt = true;
  if (!KeepSourceItems) Items.clear();
}

void TsAlphaImageList::Change() {
  if (!handle_ || updating_) return;
  const int images = Count();
  const int items = static_cast<int>(Items.size());
  if (KeepSourceItems && items >= images) {
    if (items > images) GenerateStdList();
  }
  FillMissingAlpha();
}

void TsAlphaImageList::FillMissingAlpha() {
  // An icon drawn through its mask gives the alpha that mask stands for.
  for (int i = 0; i < Count(); ++i) {
    IconHandle icon(ImageList_GetIcon(handle_, i, ILD_NORMAL));
    if (!icon || IconHasAlpha(icon.get())) continue;
    TIcon picture;
    picture.SetHandle(icon.release());
    TBitmap withAlpha;
    picture.AssignTo(withAlpha);
    IconHandle replacement(PngToIcon(withAlpha, false));
    if (replacement) ImageList_ReplaceIcon(handle_, i, replacement.get());
  }
}

bool TsAlphaImageList::GetBitmap32(int index, TBitmap* bitmap) const {
  if (!handle_ || !bitmap || index < 0 || index >= Count()) return false;
  if (KeepSourceItems && index < static_cast<int>(Items.size()) && Items[index].ImageFormat == ifPNG &&
      !Items[index].ImgData.empty()) {
    TPNGGraphic png;
    png.LoadFromMemory(Items[index].ImgData.data(), Items[index].ImgData.size());
    if (png.Width() == width_ && png.Height() == height_) {
      bitmap->Assign(png);
    } else {
      ResampleBitmap(&png, bitmap, width_, height_, 6);
      bitmap->SetPixelFormat(pf32bit);
    }
    return true;
  }
  TIcon icon;
  icon.SetHandle(ImageList_GetIcon(handle_, index, ILD_NORMAL));
  if (!icon.Handle()) return false;
  icon.AssignTo(*bitmap);
  return true;
}

void TsAlphaImageList::DrawToBitmap(TBitmap* bitmap, int x, SIZE& size, bool reflected, int numGlyphs, int state,
                                    TColor grayColor, int blend, int index, int y) const {
  if (!bitmap || bitmap->Empty() || !handle_) return;
  numGlyphs = std::max(numGlyphs, 1);
  const int frameWidth = width_ / numGlyphs;
  size = {frameWidth, height_};
  TBitmap image;
  if (!GetBitmap32(index, &image)) return;
  const int frame = std::clamp(state, 0, numGlyphs - 1);
  const RECT dest{x, y, x + frameWidth, y + height_};
  const RECT source{frame * frameWidth, 0, frame * frameWidth + frameWidth, height_};
  CopyAlphaCell(dest, source, bitmap, &image, EmptyCacheSourceInfo, false, grayColor, blend, reflected);
}

void TsAlphaImageList::DrawToDC(HDC dc, int x, int y, SIZE& size, bool reflected, int numGlyphs, int state,
                                TColor grayColor, int blend, int index) const {
  if (!dc || !handle_) return;
  const int height = reflected ? height_ + height_ / 2 : height_;
  auto area = NewBitmap24(width_, height);
  BitBlt(area->Canvas().Handle(), 0, 0, width_, height, dc, x, y, SRCCOPY);
  GdiFlush();
  DrawToBitmap(area.get(), 0, size, reflected, numGlyphs, state, grayColor, blend, index, 0);
  BitBlt(dc, x, y, width_, height, area->Canvas().Handle(), 0, 0, SRCCOPY);
}
