#include "skin/engine/alpha_image_list.h"

#include <algorithm>
#include <memory>

#include "framework/exceptions.h"
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

TsAlphaImageList::~TsAlphaImageList() { ReleaseHandle(); }

void TsAlphaImageList::ReleaseHandle() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = nullptr;
  StdListBuilt = false;
}

TColor TsAlphaImageList::BkColor() const { return handle_ ? ImageListColorToColor(ImageList_GetBkColor(handle_)) : clNone; }

void TsAlphaImageList::SetBkColor(TColor value) {
  if (!handle_) return;
  ImageList_SetBkColor(handle_, value == clNone      ? CLR_NONE
                                : value == clDefault ? CLR_DEFAULT
                                                     : ColorToRGB(value));
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
    AddToStdList(item, -1);
    StdListBuilt = true;
  }
  Change();
}

bool TsAlphaImageList::AddToStdList(const TsImgListItem& item, int index) {
  if (item.ImageFormat == ifPNG) {
    TPNGGraphic png;
    png.LoadFromMemory(item.ImgData.data(), item.ImgData.size());
    IconHandle icon(PngToIcon(png, false));
    return icon && ImageList_ReplaceIcon(handle_, index, icon.get()) >= 0;
  }
  TIcon icon;
  icon.LoadFromMemory(item.ImgData.data(), item.ImgData.size());
  return ImageList_ReplaceIcon(handle_, index, icon.Handle()) >= 0;
}

void TsAlphaImageList::GenerateStdList() {
  if (!handle_) return;
  UpdateScope guard(updating_);
  ImageList_RemoveAll(handle_);
  // Room for every item at once: a list grown a few images at a time copies all its
  // pictures at each step.
  ImageList_SetImageCount(handle_, static_cast<UINT>(Items.size()));
  int added = 0;
  try {
    for (const TsImgListItem& item : Items)
      if (AddToStdList(item, added)) ++added;
  } catch (...) {
    // A damaged item: the list holds the pictures before it, and no empty room after them.
    ImageList_SetImageCount(handle_, static_cast<UINT>(added));
    throw;
  }
  ImageList_SetImageCount(handle_, static_cast<UINT>(added));
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
      if (bitmap->PixelFormat() != pf32bit) {
        bitmap->SetPixelFormat(pf32bit);
        FixMissingAlpha(bitmap);
      }
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

void TsAlphaImageList::DoDraw(int index, TCanvas& canvas, int x, int y) const {
  if (!handle_ || index < 0 || index >= Count()) return;
  IconHandle icon(ImageList_GetIcon(handle_, index, ILD_TRANSPARENT));
  if (icon) DrawIconEx(canvas.Handle(), x, y, icon.get(), width_, height_, 0, nullptr, DI_NORMAL);
}

void TsAlphaImageList::Assign(const TsAlphaImageList* source) {
  if (source == this) return;
  ReleaseHandle();
  if (!source) return;
  UpdateScope guard(updating_);
  width_ = source->width_;
  height_ = source->height_;
  CreateImageListHandle();
  SetBkColor(source->BkColor());
  if (KeepSourceItems) {
    Items = source->Items;
    GenerateStdList();
    return;
  }
  // Picture by picture, as the source's system list holds them.
  for (int i = 0; i < source->Count(); ++i) {
    IconHandle icon(ImageList_GetIcon(source->handle_, i, ILD_NORMAL));
    if (icon) ImageList_AddIcon(handle_, icon.get());
  }
  StdListBuilt = Count() > 0;
}

namespace {

// Every item: its format and pixel format (a byte each), the length of its bytes (32 bits,
// little-endian) and the bytes; the count of items first.
constexpr uint32_t kMaxItems = 65536;

void WriteUint32(TStream& stream, uint32_t value) {
  const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  stream.WriteBuffer(bytes, sizeof bytes);
}

uint32_t ReadUint32(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, sizeof bytes);
  return bytes[0] | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

uint8_t ReadByte(TStream& stream) {
  uint8_t byte;
  stream.ReadBuffer(&byte, 1);
  return byte;
}

std::vector<TsImgListItem> ReadItemList(TStream& stream) {
  const uint32_t count = ReadUint32(stream);
  if (count > kMaxItems) throw EInOutError("Stream read error");
  std::vector<TsImgListItem> items;
  for (uint32_t i = 0; i < count; ++i) {
    TsImgListItem item;
    const uint8_t format = ReadByte(stream), pixelFormat = ReadByte(stream);
    if (format > ifICO || pixelFormat > pf32bit) throw EInOutError("Stream read error");
    item.ImageFormat = static_cast<TsImageFormat>(format);
    item.PixelFormat = static_cast<TPixelFormat>(pixelFormat);
    const uint32_t size = ReadUint32(stream);
    // A length beyond the stream's end is damage, not a request for that much memory.
    if (size > stream.Size() - stream.Position()) throw EInOutError("Stream read error");
    item.ImgData.resize(size);
    stream.ReadBuffer(item.ImgData.data(), size);
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

void TsAlphaImageList::WriteItems(TStream& stream) const {
  WriteUint32(stream, static_cast<uint32_t>(Items.size()));
  for (const TsImgListItem& item : Items) {
    const uint8_t kinds[2] = {static_cast<uint8_t>(item.ImageFormat), static_cast<uint8_t>(item.PixelFormat)};
    stream.WriteBuffer(kinds, sizeof kinds);
    WriteUint32(stream, static_cast<uint32_t>(item.ImgData.size()));
    stream.WriteBuffer(item.ImgData.data(), item.ImgData.size());
  }
}

void TsAlphaImageList::ReadItems(TStream& stream) {
  std::vector<TsImgListItem> items = ReadItemList(stream);
  std::swap(Items, items);
  try {
    GenerateStdList();
    Change();
  } catch (...) {
    // A damaged picture among the items: the list stays as it was.
    std::swap(Items, items);
    GenerateStdList();
    throw EInOutError("Stream read error");
  }
}

void FixMissingAlpha(TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty() || bitmap->PixelFormat() != pf32bit) return;
  const int w = bitmap->Width(), h = bitmap->Height();
  auto row = [&](int y) { return static_cast<uint32_t*>(bitmap->ScanLine(y)); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (row(y)[x] >> 24) return;
  const uint32_t key = row(h - 1)[0] & 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((row(y)[x] & 0xFFFFFF) != key) row(y)[x] |= 0xFF000000u;
}

TColor ImageListColorToColor(COLORREF color) {
  if (color == CLR_NONE) return clNone;
  if (color == CLR_DEFAULT) return clDefault;
  return static_cast<TColor>(color);
}
