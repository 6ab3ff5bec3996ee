#include "framework/bitmap.h"

#include "framework/exceptions.h"
#include "framework/text_encoding.h"

#include <cstring>
#include <utility>

namespace {

int bitsPerPixel(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 1;
    case pf8bit: return 8;
    case pf24bit: return 24;
    default: return 32;
  }
}

int rowStride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// A BITMAPINFO with room for a full palette.
struct BitmapInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
};

BitmapInfo describe(int width, int height, TPixelFormat format) {
  BitmapInfo info;
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitsPerPixel(format));
  info.header.biCompression = BI_RGB;
  if (format == pf8bit || format == pf1bit) {
    const int count = format == pf8bit ? 256 : 2;
    const int step = 255 / (count - 1);
    for (int i = 0; i < count; ++i) {
      const auto level = static_cast<BYTE>(i * step);
      info.colors[i] = RGBQUAD{level, level, level, 0};
    }
    info.header.biClrUsed = static_cast<DWORD>(count);
  }
  return info;
}

struct NewBitmap {
  HBITMAP handle = nullptr;
  uint8_t* bits = nullptr;
};

NewBitmap createBitmap(int width, int height, TPixelFormat format) {
  NewBitmap result;
  if (width <= 0 || height <= 0) return result;
  if (format == pfDevice) {
    efir::gdi::WindowDC screen;
    result.handle = CreateCompatibleBitmap(screen, width, height);
  } else {
    const BitmapInfo info = describe(width, height, format);
    void* bits = nullptr;
    result.handle = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
    result.bits = static_cast<uint8_t*>(bits);
  }
  if (!result.handle) throw EPictureError("Out of resources for a bitmap of this size");
  return result;
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) {
  SetSize(width, height);
}

TBitmap::~TBitmap() { ReleaseMemoryDC(); }

HDC TBitmap::MemoryDC() {
  if (!dc_) {
    dc_ = CreateCompatibleDC(nullptr);
    dcBitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
    if (bitmap_) SelectObject(dc_, bitmap_.get());
  }
  return dc_;
}

void TBitmap::ReleaseMemoryDC() {
  canvas_.reset();
  if (!dc_) return;
  SelectObject(dc_, dcBitmap_);
  DeleteDC(dc_);
  dc_ = nullptr;
}

void TBitmap::Recreate(int width, int height, TPixelFormat format, bool keepPicture) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  NewBitmap created = createBitmap(width, height, format);
  efir::gdi::Object<HBITMAP> fresh(created.handle);
  if (fresh && format == pfDevice) {
    efir::gdi::MemoryDC target;
    efir::gdi::Selection selected(target, fresh.get());
    PatBlt(target, 0, 0, width, height, BLACKNESS);
  }
  if (keepPicture && fresh && bitmap_) {
    const int copyWidth = std::min(width, width_), copyHeight = std::min(height, height_);
    if (format == format_ && bits_ && format != pf1bit) {
      // Same layout: rows are copied as they are, alpha bytes included.
      const int stride = rowStride(width, bitsPerPixel(format));
      const size_t rowBytes = static_cast<size_t>(copyWidth) * bitsPerPixel(format) / 8;
      GdiFlush();
      for (int y = 0; y < copyHeight; ++y)
        std::memcpy(created.bits + static_cast<size_t>(y) * stride, Row(y), rowBytes);
    } else {
      efir::gdi::MemoryDC target;
      efir::gdi::Selection selected(target, fresh.get());
      WithDC([&](HDC from) { BitBlt(target, 0, 0, copyWidth, copyHeight, from, 0, 0, SRCCOPY); });
    }
  }
  if (dc_) SelectObject(dc_, fresh ? static_cast<HGDIOBJ>(fresh.get()) : dcBitmap_);
  if (format != format_) loadedBits_ = 0;
  bitmap_ = std::move(fresh);
  bits_ = created.bits;
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = format == pfDevice ? 0 : rowStride(width, bitsPerPixel(format));
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Recreate(width, height, format_, true);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  Recreate(width_, height_, format, true);
  Changed();
}

uint8_t* TBitmap::Row(int row) const {
  if (!bits_ || row < 0 || row >= height_) throw Exception("Scan line index out of range");
  return bits_ + static_cast<ptrdiff_t>(row) * stride_;
}

void* TBitmap::ScanLine(int row) {
  if (format_ == pfDevice && bitmap_) SetPixelFormat(pf32bit);
  GdiFlush();
  return Row(row);
}

const void* TBitmap::ScanLine(int row) const {
  GdiFlush();
  return Row(row);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(MemoryDC());
  return *canvas_;
}

void TBitmap::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  if (!bitmap_) return clNone;
  TColor color = clNone;
  WithDC([&](HDC dc) { color = static_cast<TColor>(GetPixel(dc, 0, height_ - 1)); });
  return color;
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  Changed();
}

void TBitmap::Assign(const TGraphic& source) {
  if (&source == this) return;
  source.AssignTo(*this);
}

void TBitmap::AssignTo(TBitmap& dest) const {
  if (&dest == this) return;
  dest.Recreate(width_, height_, format_, false);
  if (bits_) {
    GdiFlush();
    std::memcpy(dest.bits_, bits_, static_cast<size_t>(stride_) * height_);
  } else if (bitmap_) {
    WithDC([&](HDC from) {
      dest.WithDC([&](HDC to) { BitBlt(to, 0, 0, width_, height_, from, 0, 0, SRCCOPY); });
    });
  }
  dest.transparent_ = transparent_;
  dest.transparentColor_ = transparentColor_;
  dest.loadedBits_ = loadedBits_;
  dest.Changed();
}

void TBitmap::TakePicture(TBitmap& source) {
  if (&source == this) return;
  // The source's memory DC would keep its picture selected; this one's canvas stays and
  // draws on the new picture.
  source.ReleaseMemoryDC();
  if (dc_) SelectObject(dc_, source.bitmap_ ? static_cast<HGDIOBJ>(source.bitmap_.get()) : dcBitmap_);
  bitmap_ = std::move(source.bitmap_);
  bits_ = std::exchange(source.bits_, nullptr);
  width_ = std::exchange(source.width_, 0);
  height_ = std::exchange(source.height_, 0);
  stride_ = std::exchange(source.stride_, 0);
  format_ = source.format_;
  loadedBits_ = std::exchange(source.loadedBits_, 0);
  transparent_ = source.transparent_;
  transparentColor_ = source.transparentColor_;
  Changed();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  AssignTo(*copy);
  return copy;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) const {
  if (Empty()) return;
  const HDC target = canvas.Handle();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (transparent_) {
    const COLORREF key = ColorToRGB(TransparentColor());
    WithDC([&](HDC from) {
      TransparentBlt(target, rect.left, rect.top, width, height, from, 0, 0, width_, height_, key);
    });
    return;
  }
  const int oldMode = SetStretchBltMode(target, STRETCH_DELETESCANS);
  WithDC([&](HDC from) {
    StretchBlt(target, rect.left, rect.top, width, height, from, 0, 0, width_, height_, canvas.CopyMode());
  });
  SetStretchBltMode(target, oldMode);
}

// ---- Windows bitmap files ----

namespace {

template <class T>
T readAt(const uint8_t* data, size_t offset) {
  T value;
  std::memcpy(&value, data + offset, sizeof(T));
  return value;
}

}  // namespace

void TBitmap::LoadFromMemory(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  constexpr size_t kFileHeader = sizeof(BITMAPFILEHEADER);
  if (size < kFileHeader + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M')
    throw EPictureError("Not a bitmap file");
  const auto header = readAt<BITMAPINFOHEADER>(bytes, kFileHeader);
  const size_t pixelsAt = readAt<BITMAPFILEHEADER>(bytes, 0).bfOffBits;
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const int bits = header.biBitCount;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size - kFileHeader ||
      width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000 || header.biPlanes != 1 ||
      header.biClrUsed > 256 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    throw EPictureError("Invalid bitmap header");
  const bool bitfields = header.biCompression == BI_BITFIELDS;
  if (header.biCompression != BI_RGB && !(bitfields && (bits == 16 || bits == 32)))
    throw EPictureError("Unsupported bitmap compression");
  size_t tableBytes = 0;
  if (bits <= 8) tableBytes = sizeof(RGBQUAD) * (header.biClrUsed ? header.biClrUsed : 1u << bits);
  if (bitfields && header.biSize == sizeof(BITMAPINFOHEADER)) tableBytes = 3 * sizeof(DWORD);
  const size_t stride = static_cast<size_t>(rowStride(width, bits));
  if (kFileHeader + header.biSize + tableBytes > pixelsAt || pixelsAt > size ||
      uint64_t{stride} * height > size - pixelsAt)
    throw EPictureError("Bitmap data is truncated");

  // 32-bit rows are taken as they are, so an alpha channel survives; every other layout is
  // converted to 24 bits by GDI, which knows the palettes and bit fields.
  const bool raw = bits == 32 && !bitfields;
  TBitmap loaded(width, height, raw ? pf32bit : pf24bit);
  if (raw) {
    for (int y = 0; y < height; ++y) {
      const int from = header.biHeight < 0 ? y : height - 1 - y;
      std::memcpy(loaded.Row(y), bytes + pixelsAt + stride * from, stride);
    }
  } else {
    SetDIBits(nullptr, loaded.bitmap_.get(), 0, static_cast<UINT>(height), bytes + pixelsAt,
              reinterpret_cast<const BITMAPINFO*>(bytes + kFileHeader), DIB_RGB_COLORS);
  }
  loaded.loadedBits_ = bits;
  TakePicture(loaded);
}

std::string TBitmap::SaveToMemory() const {
  TBitmap device;
  const TBitmap* source = this;
  if (format_ == pfDevice) {
    // A screen-format bitmap is written through its device-independent form.
    AssignTo(device);
    device.SetPixelFormat(pf32bit);
    source = &device;
  }
  const BitmapInfo info = describe(source->width_, source->height_, source->format_);
  const DWORD tableBytes = info.header.biClrUsed * sizeof(RGBQUAD);
  const DWORD imageBytes = static_cast<DWORD>(source->stride_) * source->height_;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.header) + tableBytes;
  file.bfSize = file.bfOffBits + imageBytes;

  std::string out(reinterpret_cast<const char*>(&file), sizeof(file));
  out.append(reinterpret_cast<const char*>(&info), sizeof(info.header) + tableBytes);
  GdiFlush();
  if (source->bits_) out.append(reinterpret_cast<const char*>(source->bits_), imageBytes);
  return out;
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  const std::string out = SaveToMemory();
  HANDLE handle = CreateFileW(efir::text::fromAnsi(fileName).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    throw EInOutError("Cannot create file \"" + fileName + "\"", static_cast<int>(GetLastError()));
  DWORD written = 0;
  const BOOL ok = WriteFile(handle, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  CloseHandle(handle);
  if (!ok || written != out.size())
    throw EInOutError("Cannot write file \"" + fileName + "\"", static_cast<int>(GetLastError()));
}

// ---- alpha ----

void efir::DrawWithAlpha(TCanvas& canvas, const RECT& rect, const TBitmap& bitmap) {
  if (bitmap.PixelFormat() != pf32bit) {
    bitmap.Draw(canvas, rect);
    return;
  }
  // AlphaBlend wants premultiplied colours; the picture keeps straight ones for its readers.
  const int width = bitmap.Width(), height = bitmap.Height();
  TBitmap premultiplied(width, height, pf32bit);
  for (int y = 0; y < height; ++y) {
    const auto* from = static_cast<const uint8_t*>(bitmap.ScanLine(y));
    auto* to = static_cast<uint8_t*>(premultiplied.ScanLine(y));
    for (int x = 0; x < width * 4; x += 4) {
      const unsigned alpha = from[x + 3];
      for (int c = 0; c < 3; ++c) to[x + c] = static_cast<uint8_t>((from[x + c] * alpha + 127) / 255);
      to[x + 3] = static_cast<uint8_t>(alpha);
    }
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(canvas.Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             premultiplied.Canvas().Handle(), 0, 0, width, height, blend);
}
