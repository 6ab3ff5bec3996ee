#include "framework/picture_icon.h"

#include "framework/bitmap.h"
#include "framework/exceptions.h"

#include <cstring>

namespace {

#pragma pack(push, 1)
struct IconDirectory {
  WORD reserved, type, count;
};
struct IconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes, offset;
};
#pragma pack(pop)

int side(BYTE stored) { return stored == 0 ? 256 : stored; }

// The entry whose size is nearest the system's icon size, the deepest colours among equals.
const IconEntry* bestEntry(const IconEntry* entries, int count) {
  const int wanted = GetSystemMetrics(SM_CXICON);
  const IconEntry* best = nullptr;
  for (int i = 0; i < count; ++i) {
    const IconEntry& e = entries[i];
    if (!best) {
      best = &e;
      continue;
    }
    const int distance = std::abs(side(e.width) - wanted), bestDistance = std::abs(side(best->width) - wanted);
    if (distance < bestDistance || (distance == bestDistance && e.bitCount > best->bitCount)) best = &e;
  }
  return best;
}

uint32_t BigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// The system trusts the picture an entry holds: a header whose sizes multiply past 32 bits
// sends its icon creation reading far outside the file. So the stated sizes, counted in
// 64 bits, must fit the entry's bytes before the picture is handed on.
void CheckEntryPicture(const uint8_t* picture, DWORD bytes) {
  constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes >= 24 && std::memcmp(picture, kPngSignature, sizeof(kPngSignature)) == 0) {
    // An icon is at most a few hundred pixels a side; the PNG's own header gives its size.
    constexpr uint32_t kMaxPngSide = 1024;
    const uint32_t width = BigEndian32(picture + 16), height = BigEndian32(picture + 20);
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide)
      throw EPictureError("Invalid icon data");
    return;
  }
  BITMAPINFOHEADER header;
  std::memcpy(&header, picture, sizeof(header));
  const int64_t width = header.biWidth, rows = header.biHeight;  // colour rows and mask rows
  const int bits = header.biBitCount;
  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (header.biSize < sizeof(header) || header.biSize > bytes || width <= 0 || rows <= 0 || !knownDepth)
    throw EPictureError("Invalid icon data");
  const int64_t height = rows / 2;
  constexpr int64_t kMaxSide = 0x8000;  // far beyond any icon; keeps the products below in range
  if (width > kMaxSide || height > kMaxSide) throw EPictureError("Invalid icon data");
  const int64_t colourStride = (width * bits + 31) / 32 * 4, maskStride = (width + 31) / 32 * 4;
  // A colour table stated in biClrUsed is there at any depth; three colour masks follow a
  // plain header whose pixels are bit fields.
  const int64_t paletteSize = header.biClrUsed != 0 ? int64_t{header.biClrUsed} : bits <= 8 ? int64_t{1} << bits : 0;
  if (paletteSize > 256) throw EPictureError("Invalid icon data");
  const bool masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(header);
  const int64_t headerSize = int64_t{header.biSize} + (masks ? 3 * 4 : 0);
  const int64_t needed = headerSize + paletteSize * 4 + (colourStride + maskStride) * height;
  if (needed > bytes) throw EPictureError("Icon data is truncated");
}

}  // namespace

TIcon::~TIcon() {
  if (icon_) DestroyIcon(icon_);
}

void TIcon::SetHandle(HICON icon) {
  if (icon == icon_) return;
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
  width_ = height_ = 0;
  ICONINFO info{};
  if (icon && GetIconInfo(icon, &info)) {
    BITMAP bm{};
    // Without a colour bitmap the mask holds the AND and XOR halves one above the other.
    const bool colour = info.hbmColor != nullptr;
    GetObjectW(colour ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    width_ = bm.bmWidth;
    height_ = colour ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  Changed();
}

void TIcon::LoadFromMemory(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  IconDirectory directory{};
  if (size >= sizeof(directory)) std::memcpy(&directory, bytes, sizeof(directory));
  if (size < sizeof(directory) || directory.reserved != 0 || directory.type != 1 || directory.count == 0)
    throw EPictureError("Not an icon file");
  if (sizeof(directory) + sizeof(IconEntry) * directory.count > size)
    throw EPictureError("Icon data is truncated");
  std::vector<IconEntry> entries(directory.count);
  std::memcpy(entries.data(), bytes + sizeof(directory), sizeof(IconEntry) * directory.count);
  const IconEntry* entry = bestEntry(entries.data(), directory.count);
  if (entry->offset > size || entry->bytes > size - entry->offset || entry->bytes < sizeof(BITMAPINFOHEADER))
    throw EPictureError("Icon data is truncated");
  CheckEntryPicture(bytes + entry->offset, entry->bytes);
  HICON icon = CreateIconFromResourceEx(const_cast<uint8_t*>(bytes + entry->offset), entry->bytes, TRUE,
                                        0x00030000, side(entry->width), side(entry->height), LR_DEFAULTCOLOR);
  if (!icon) throw EPictureError("Invalid icon data");
  SetHandle(icon);
}

void TIcon::Assign(const TGraphic& source) {
  if (&source == this) return;
  const auto* icon = dynamic_cast<const TIcon*>(&source);
  if (!icon) throw EPictureError("Only an icon can be assigned to an icon");
  SetHandle(icon->icon_ ? CopyIcon(icon->icon_) : nullptr);
}

// Drawn once over black and once over white: where the two differ the icon lets the
// background through, and by how much gives the alpha.
void TIcon::AssignTo(TBitmap& dest) const {
  TBitmap overBlack(width_, height_, pf32bit), overWhite(width_, height_, pf32bit);
  overWhite.Canvas().Brush().SetColor(clWhite);
  overWhite.Canvas().FillRect({0, 0, width_, height_});
  if (icon_) {
    DrawIconEx(overBlack.Canvas().Handle(), 0, 0, icon_, width_, height_, 0, nullptr, DI_NORMAL);
    DrawIconEx(overWhite.Canvas().Handle(), 0, 0, icon_, width_, height_, 0, nullptr, DI_NORMAL);
  }
  for (int y = 0; y < height_; ++y) {
    auto* black = static_cast<uint8_t*>(overBlack.ScanLine(y));
    const auto* white = static_cast<const uint8_t*>(overWhite.ScanLine(y));
    for (int x = 0; x < width_ * 4; x += 4) {
      const int alpha = 255 - (white[x + 1] - black[x + 1]);
      for (int c = 0; c < 3; ++c)
        black[x + c] = static_cast<uint8_t>(alpha > 0 ? std::min(255, black[x + c] * 255 / alpha) : 0);
      black[x + 3] = static_cast<uint8_t>(std::clamp(alpha, 0, 255));
    }
  }
  dest.Assign(overBlack);
}

std::string TIcon::SaveToMemory() const {
  if (!icon_ || width_ <= 0 || height_ <= 0 || width_ > 256 || height_ > 256) return {};
  TBitmap picture;
  AssignTo(picture);
  const size_t maskStride = static_cast<size_t>((width_ + 31) / 32 * 4);
  const size_t colourBytes = static_cast<size_t>(width_) * height_ * 4;
  const size_t imageBytes = sizeof(BITMAPINFOHEADER) + colourBytes + maskStride * height_;
  IconDirectory directory{0, 1, 1};
  IconEntry entry{static_cast<BYTE>(width_ & 0xFF), static_cast<BYTE>(height_ & 0xFF), 0, 0, 1, 32,
                  static_cast<DWORD>(imageBytes), sizeof(IconDirectory) + sizeof(IconEntry)};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width_;
  header.biHeight = height_ * 2;  // the colour rows and the mask rows
  header.biPlanes = 1;
  header.biBitCount = 32;
  std::string file(sizeof(directory) + sizeof(entry) + imageBytes, '\0');
  char* out = file.data();
  std::memcpy(out, &directory, sizeof(directory));
  std::memcpy(out + sizeof(directory), &entry, sizeof(entry));
  char* image = out + entry.offset;
  std::memcpy(image, &header, sizeof(header));
  auto* colour = reinterpret_cast<uint8_t*>(image + sizeof(header));
  auto* mask = colour + colourBytes;
  // Rows run bottom-up in the file; a fully transparent pixel is set in the mask too.
  for (int y = 0; y < height_; ++y) {
    const auto* row = static_cast<const uint8_t*>(picture.ScanLine(y));
    const int fileRow = height_ - 1 - y;
    std::memcpy(colour + static_cast<size_t>(fileRow) * width_ * 4, row, static_cast<size_t>(width_) * 4);
    for (int x = 0; x < width_; ++x)
      if (row[x * 4 + 3] == 0) mask[fileRow * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return file;
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto copy = std::make_unique<TIcon>();
  copy->Assign(*this);
  return copy;
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) const {
  DrawIconEx(canvas.Handle(), rect.left, rect.top, icon_, rect.right - rect.left, rect.bottom - rect.top, 0,
             nullptr, DI_NORMAL);
}
