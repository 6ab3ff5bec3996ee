// screenshot OUT.png: saves what the (virtual) screen shows. The run command uses it when
// the program runs on a private display that nobody can look at.
#include <windows.h>

#include <cstdio>

#include "tests/support/capture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshot OUT.png\n");
    return 2;
  }
  try {
    efir::test::savePng(efir::test::captureWindow(GetDesktopWindow()), argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
