// The skin manager the windows' layouts place. It keeps the name and folder of its skin and
// whether the skin is active; the first manager created is the default one. Loading and
// painting skins come with the skin engine's own work: until then the windows keep the
// framework's look.
//
//   sSkinManager1 = new TsSkinManager(this);
//   sSkinManager1->SetSkinDirectory("c:\\Skins");
#pragma once

#include "framework/component.h"

#include <string>

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;

  // The first manager created and still alive, or nullptr.
  static TsSkinManager* DefaultManager();

  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& value) { skinDirectory_ = value; }
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& value) { skinName_ = value; }
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }

 private:
  std::string skinDirectory_ = "c:\\Skins";
  std::string skinName_;
  bool active_ = false;
};
