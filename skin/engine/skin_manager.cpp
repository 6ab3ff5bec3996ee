#include "skin/engine/skin_manager.h"

namespace {
TsSkinManager* defaultManager = nullptr;
}

TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner) {
  if (!defaultManager) defaultManager = this;
}

TsSkinManager::~TsSkinManager() {
  if (defaultManager == this) defaultManager = nullptr;
}

TsSkinManager* TsSkinManager::DefaultManager() { return defaultManager; }
