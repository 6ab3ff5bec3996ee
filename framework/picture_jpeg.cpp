#include "framework/picture_jpeg.h"

#include "framework/exceptions.h"

#include <atomic>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg's error exit must not return; the documented way out is a long jump back to the
// decoder. Exceptions are never thrown through the library's frames.
struct JpegErrors {
  jpeg_error_mgr manager;
  jmp_buf jump;
  bool truncated;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  errors->manager.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings are not printed. A file that ends early is only a warning to libjpeg, which
// shows the rest grey; for us it is a damaged file.
extern "C" void onJpegMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  const int code = errors->manager.msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) errors->truncated = true;
}

std::atomic<int64_t> decompressionsStarted{0};

// Only objects without destructors live in this frame, so the long jump skips nothing.
// Returns false with the library's message in `errors` on failure.
bool decode(const uint8_t* data, size_t size, TBitmap& into, JpegErrors& errors, int maxSide) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = onJpegError;
  errors.manager.emit_message = onJpegMessage;
  errors.truncated = false;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit bitmap row
  // Judged from the header: starting the decompression makes a progressive file's decoder
  // take memory for every coefficient of the stated size at once.
  try {
    efir::CheckPictureSize(info.image_width, info.image_height, static_cast<uint64_t>(maxSide));
  } catch (...) {
    jpeg_destroy_decompress(&info);
    throw;
  }
  ++decompressionsStarted;
  jpeg_start_decompress(&info);
  try {
    into.SetSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  } catch (...) {
    jpeg_destroy_decompress(&info);
    throw;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(into.ScanLine(static_cast<int>(info.output_scanline)));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->Assign(*this);
  return copy;
}

void TJPEGImage::Decode(const uint8_t* data, size_t size, TBitmap& into) const {
  JpegErrors errors{};
  if (!decode(data, size, into, errors, MaxSide())) throw EPictureError(std::string("Invalid JPEG data: ") + errors.message);
  if (errors.truncated) throw EPictureError("Invalid JPEG data: the file is truncated or damaged");
}

int64_t efir::JpegDecompressionsStarted() { return decompressionsStarted.load(); }
