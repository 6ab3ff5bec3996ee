#include "framework/picture_gif.h"

#include "framework/exceptions.h"

#include <cstring>
#include <vector>

#include <gif_lib.h>

namespace {

struct Source {
  const uint8_t* data;
  size_t size;
  size_t position;
};

// giflib pulls its input through this; a short count tells it the data has ended.
extern "C" int readGif(GifFileType* gif, GifByteType* buffer, int wanted) {
  auto* source = static_cast<Source*>(gif->UserData);
  const size_t count = std::min(static_cast<size_t>(std::max(wanted, 0)), source->size - source->position);
  std::memcpy(buffer, source->data + source->position, count);
  source->position += count;
  return static_cast<int>(count);
}

class GifReader {
 public:
  GifReader(const uint8_t* data, size_t size) : source_{data, size, 0} {
    int error = 0;
    gif_ = DGifOpen(&source_, readGif, &error);
    if (!gif_) fail(error);
  }
  ~GifReader() {
    int error = 0;
    DGifCloseFile(gif_, &error);
  }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;

  GifFileType* get() const { return gif_; }
  GifFileType* operator->() const { return gif_; }
  void check(int result) const {
    if (result == GIF_ERROR) fail(gif_->Error);
  }

 private:
  [[noreturn]] static void fail(int error) {
    const char* text = GifErrorString(error);
    throw EPictureError(std::string("Invalid GIF data: ") + (text ? text : "unknown error"));
  }

  Source source_;
  GifFileType* gif_ = nullptr;
};

// The transparent colour index of a graphic control extension, or -1.
int transparentIndex(const GifByteType* extension) {
  if (extension && extension[0] >= 4 && (extension[1] & 1)) return extension[4];
  return -1;
}

void readFrame(GifReader& gif, int transparent, int maxSide, TBitmap& into) {
  gif.check(DGifGetImageDesc(gif.get()));
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!colours) throw EPictureError("Invalid GIF data: no colour table");
  // Some writers leave the screen size 0; the frame then sets the picture's size.
  const int width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
  const int height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
  efir::CheckPictureSize(static_cast<uint64_t>(std::max(width, 0)), static_cast<uint64_t>(std::max(height, 0)),
                         static_cast<uint64_t>(maxSide));
  efir::CheckPictureSize(static_cast<uint64_t>(std::max(frame.Width, 0)), static_cast<uint64_t>(std::max(frame.Height, 0)),
                         static_cast<uint64_t>(maxSide));
  into.SetSize(width, height);

  // Interlaced frames arrive in four passes: every 8th row from 0, from 4, every 4th from 2,
  // every 2nd from 1.
  std::vector<int> order;
  if (frame.Interlace) {
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = starts[pass]; y < frame.Height; y += steps[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < frame.Height; ++y) order.push_back(y);
  }
  std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
  for (int frameRow : order) {
    gif.check(DGifGetLine(gif.get(), line.data(), frame.Width));
    const int y = frame.Top + frameRow;
    if (y < 0 || y >= height) continue;
    auto* row = static_cast<uint8_t*>(into.ScanLine(y));
    for (int i = 0; i < frame.Width; ++i) {
      const int x = frame.Left + i;
      if (x < 0 || x >= width) continue;
      const int index = line[i];
      uint8_t* pixel = row + x * 4;
      if (index < colours->ColorCount) {
        const GifColorType& c = colours->Colors[index];
        pixel[0] = c.Blue, pixel[1] = c.Green, pixel[2] = c.Red;
      }
      pixel[3] = index == transparent ? 0 : 255;
    }
  }
}

}  // namespace

std::unique_ptr<TGraphic> TGIFImage::Clone() const {
  auto copy = std::make_unique<TGIFImage>();
  copy->Assign(*this);
  return copy;
}

void TGIFImage::Decode(const uint8_t* data, size_t size, TBitmap& into) const {
  GifReader gif(data, size);
  int transparent = -1;
  for (;;) {
    GifRecordType record;
    gif.check(DGifGetRecordType(gif.get(), &record));
    if (record == IMAGE_DESC_RECORD_TYPE) {
      readFrame(gif, transparent, MaxSide(), into);
      return;
    }
    if (record == TERMINATE_RECORD_TYPE) throw EPictureError("Invalid GIF data: no picture in the file");
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* extension = nullptr;
      gif.check(DGifGetExtension(gif.get(), &code, &extension));
      if (code == GRAPHICS_EXT_FUNC_CODE) transparent = transparentIndex(extension);
      while (extension) gif.check(DGifGetExtensionNext(gif.get(), &extension));
    }
  }
}
