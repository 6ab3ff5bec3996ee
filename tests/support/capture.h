// Pictures of windows for tests: read what a window shows into 32-bit pixels, look at single
// pixels, and save the picture as PNG under build/screenshots for a person to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace efir::test {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  COLORREF at(int x, int y) const;  // as a COLORREF (0x00BBGGRR), for comparing with RGB()
};

// What the window holds, frame included when it has one: its own pixels, which need not be
// what the display shows (a window can paint into its own pixels and still show black).
Image captureWindow(HWND hwnd);
// What the display really shows in the rectangle (screen coordinates): whatever lies on top
// there, read back from the screen.
Image captureScreen(const RECT& area);
// What the display shows where the window lies.
Image captureScreenOf(HWND hwnd);
// The share (0 to 1) of the window's pixels that the display shows otherwise than the window
// holds them: near 0 once what the window painted has reached the screen.
double shareNotOnScreen(HWND hwnd);
// What a memory bitmap holds (any DIB or DDB the device context can select).
Image captureBitmap(HBITMAP bitmap);

// Writes the image as PNG; throws std::runtime_error when that fails.
void savePng(const Image& image, const std::string& path);
// Saves a picture of the window as build/screenshots/NAME.png and returns the path.
std::string saveScreenshot(HWND hwnd, const std::string& name);

}  // namespace efir::test
