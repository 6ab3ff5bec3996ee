#include "skin/engine/skin_startup.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "framework/text_encoding.h"
#include "skin/engine/embedded_data.h"
#include "skin/engine/png_graphic.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/startup_units.h"

bool OSIsNT = false;
std::unique_ptr<TBitmap> ShadowPngActive, ShadowPngInactive;

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<std::string> ProgramParameters() {
  std::vector<std::string> params;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return params;
  for (int i = 1; i < count; ++i) params.push_back(efir::text::toAnsi(args[i]));
  LocalFree(args);
  return params;
}

bool ReportsNtPlatform() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  bool known = GetVersionExW(&info) != 0;
#pragma GCC diagnostic pop
  return known && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::unique_ptr<TBitmap> BuiltInPng(const char* name) {
  auto bytes = efir::skin::FindEmbeddedData(name);
  if (!bytes) return nullptr;
  auto png = std::make_unique<TPNGGraphic>();
  png->LoadFromMemory(bytes->data(), bytes->size());
  return png;
}

}  // namespace

bool ShowVersionBannerIfAsked(const std::vector<std::string>& params,
                              const std::function<void(const std::string& text)>& show) {
  for (const std::string& p : params) {
    if (Lower(p) != "/skinver") continue;
    show("Skin engine v" + TsSkinManager::Version());
    return true;
  }
  return false;
}

void StartSkinEngine() {
  OSIsNT = ReportsNtPlatform();
  ShadowPngActive = BuiltInPng("acSHDA");
  ShadowPngInactive = BuiltInPng("acSHDI");
  LoadAppIcons();
  StartEngineUnits();
  ShowVersionBannerIfAsked(ProgramParameters(), [](const std::string& text) {
    MessageBoxW(nullptr, efir::text::fromAnsi(text).c_str(), L"", MB_OK);
  });
}

void StopSkinEngine() {
  StopEngineUnits();
  FreeAppIcons();
  ShadowPngActive.reset();
  ShadowPngInactive.reset();
}
