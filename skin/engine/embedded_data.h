// Files the build embeds in every program that links the skin engine, found by name: the
// skins the window layouts store ("EfirNight", "EfirDusk", "EfirForest", "EfirGraphite", each
// a packed skin) and the engine's own pictures (the extended-border shadows "acSHDA" and
// "acSHDI", the state-button strips "SF", "SR", "SD", "SE", "SC", all PNG). They play the part
// of a program's RCDATA resources; the list is made from assets/skins/ by
// cmake/embed_files.cmake (see skin/engine/CMakeLists.txt).
//
//   if (auto bytes = efir::skin::FindEmbeddedData("acSHDA")) picture.LoadFromMemory(bytes->data(), bytes->size());
//   sSkinManager1 = NewManagerWithBuiltInSkin(this, "EfirNight");    // in a layout
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

class TComponent;
class TsSkinManager;
class TsStoredSkins;

namespace efir::skin {

struct EmbeddedData {
  const char* Name;
  const unsigned char* Bytes;
  size_t Size;
};

// Every embedded file (generated).
std::span<const EmbeddedData> EmbeddedDataTable();
// The bytes embedded under exactly `name`; nullopt when there are none.
std::optional<std::span<const unsigned char>> FindEmbeddedData(std::string_view name);

}  // namespace efir::skin

// Adds to `skins` a stored skin named `name` holding the embedded packed skin of that name;
// raises when the build embedded no such skin (a layout naming a skin that is not built in).
void AddEmbeddedSkin(TsStoredSkins& skins, const char* name);

// A layout's manager carrying the built-in skin `name` as its one stored skin and naming it,
// so that it loads that skin (unless the skin directory holds one of that name).
TsSkinManager* NewManagerWithBuiltInSkin(TComponent* owner, const char* name);
