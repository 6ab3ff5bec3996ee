#include "skin/engine/embedded_data.h"

#include "framework/exceptions.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"

namespace efir::skin {

std::optional<std::span<const unsigned char>> FindEmbeddedData(std::string_view name) {
  for (const EmbeddedData& entry : EmbeddedDataTable())
    if (name == entry.Name) return std::span<const unsigned char>(entry.Bytes, entry.Size);
  return std::nullopt;
}

}  // namespace efir::skin

void AddEmbeddedSkin(TsStoredSkins& skins, const char* name) {
  auto bytes = efir::skin::FindEmbeddedData(name);
  if (!bytes) throw Exception(std::string("No skin is built in under the name ") + name);
  TsStoredSkin& skin = skins.Add();
  skin.Name = name;
  skin.Data.WriteBuffer(bytes->data(), bytes->size());
}

TsSkinManager* NewManagerWithBuiltInSkin(TComponent* owner, const char* name) {
  auto* manager = new TsSkinManager(owner);
  AddEmbeddedSkin(manager->InternalSkins(), name);
  manager->SetSkinName(name);
  return manager;
}
