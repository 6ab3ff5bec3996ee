#include "tests/support/capture.h"

#include <png.h>

#include <stdexcept>

#include "tests/support/paths.h"

namespace efir::test {
namespace {

Image readDc(HDC source, int x, int y, int width, int height) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* src = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = src[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return image;
}

}  // namespace

COLORREF Image::at(int x, int y) const {
  uint32_t p = pixels.at(static_cast<size_t>(y) * width + x);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Image captureWindow(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC dc = GetWindowDC(hwnd);
  Image image = readDc(dc, 0, 0, r.right - r.left, r.bottom - r.top);
  ReleaseDC(hwnd, dc);
  return image;
}

Image captureScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  Image image = readDc(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return image;
}

Image captureScreenOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return captureScreen(r);
}

double shareNotOnScreen(HWND hwnd) {
  const Image own = captureWindow(hwnd);
  const Image shown = captureScreenOf(hwnd);
  if (own.pixels.empty() || own.pixels.size() != shown.pixels.size()) return 1;
  size_t differing = 0;
  for (size_t i = 0; i < own.pixels.size(); ++i) differing += own.pixels[i] != shown.pixels[i];
  return static_cast<double>(differing) / own.pixels.size();
}

Image captureBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  GetObjectW(bitmap, sizeof(bm), &bm);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  Image image = readDc(dc, 0, 0, bm.bmWidth, bm.bmHeight);
  SelectObject(dc, old);
  DeleteDC(dc);
  return image;
}

void savePng(const Image& image, const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_BGRA;
  std::vector<uint32_t> opaque(image.pixels);
  for (auto& p : opaque) p |= 0xFF000000u;
  if (!png_image_write_to_file(&png, path.c_str(), 0, opaque.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path + ": " + png.message);
}

std::string saveScreenshot(HWND hwnd, const std::string& name) {
  std::string path = screenshotPath(name);
  savePng(captureWindow(hwnd), path);
  return path;
}

}  // namespace efir::test
