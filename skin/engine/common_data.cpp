#include "skin/engine/common_data.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <typeinfo>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

bool Destroying(const TComponent* c) { return c && (c->ComponentState() & csDestroying) != 0; }
bool Loading(const TComponent* c) { return c && (c->ComponentState() & csLoading) != 0; }

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}


bool IsEditOwner(TControl* owner) {
  return dynamic_cast<TEdit*>(owner) != nullptr || dynamic_cast<TComboBox*>(owner) != nullptr;
}

// True when the border picture's frame is thicker than `limit` across or down.
bool ThickBorder(const TsSkinManager* manager, int maskIndex, int limit) {
  if (!MaskIndexValid(manager, maskIndex)) return false;
  const TsMaskData& m = manager->Masks[static_cast<size_t>(maskIndex)];
  return m.WL + m.WR > limit || m.WT + m.WB > limit;
}

}  // namespace

// The C++ class name of the object, as a section name would spell it ("TPanel").
std::string ClassName(const TObject* object) {
  if (!object) return {};
  int status = 0;
  char* name = abi::__cxa_demangle(typeid(*object).name(), nullptr, nullptr, &status);
  std::string result = status == 0 && name ? name : typeid(*object).name();
  std::free(name);
  size_t scope = result.rfind("::");
  return scope == std::string::npos ? result : result.substr(scope + 2);
}

const char* DefaultSectionOfKind(int kind) {
  static const struct {
    TsKindSet Kinds;
    const char* Section;
  } table[] = {
      {{{2, 8}, {10, 10}, {41, 41}, {76, 76}, {78, 78}, {83, 84}, {96, 97}, {131, 131}, {140, 140}, {227, 227}}, "EDIT"},
      {{{11, 18}, {81, 82}}, "COMBOBOX"},
      {{{19, 19}}, "BAR"},
      {{{20, 20}}, "BARTITLE"},
      {{{32, 32}, {152, 152}}, "CHECKBOX"},
      {{{33, 33}}, "RADIOBUTTON"},
      {{{51, 51}, {59, 59}, {68, 68}, {73, 73}}, "PANEL"},
      {{{52, 52}, {58, 58}}, "PANEL_LOW"},
      {{{53, 54}, {60, 60}}, "TOOLBAR"},
      {{{56, 56}}, "DRAGBAR"},
      {{{57, 57}}, "TABSHEET"},
      {{{74, 74}, {226, 226}}, "GROUPBOX"},
      {{{75, 75}}, "SPLITTER"},
      {{{92, 92}, {95, 95}}, "SPEEDBUTTON"},
      {{{93, 94}}, "BUTTON"},
      {{{98, 98}}, "TOOLBUTTON"},
      {{{141, 141}, {143, 143}}, "PAGECONTROL"},
      {{{151, 151}}, "STATUSBAR"},
      {{{161, 161}}, "GAUGE"},
      {{{165, 165}}, "TRACKBAR"},
  };
  for (const auto& row : table)
    if (row.Kinds.Has(kind)) return row.Section;
  return nullptr;
}

TsCommonData::TsCommonData(TObject* owner, bool createCacheBitmap)
    : OwnerControl(dynamic_cast<TControl*>(owner)), OwnerObject(owner) {
  if (createCacheBitmap) CacheBitmap = std::make_unique<TBitmap>(0, 0, pf24bit);
}

TsCommonData::~TsCommonData() { ReleaseOwnGlow(); }

TsSkinManager* TsCommonData::SkinManager() const {
  return OwnSkinManager ? OwnSkinManager : TsSkinManager::DefaultManager();
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  if (value == OwnSkinManager) return;
  OwnSkinManager = value == TsSkinManager::DefaultManager() ? nullptr : value;
  if (Loading(OwnerControl)) return;
  if (value && !value->GeneralData.empty())
    UpdateSkinIndexes(*this);
  else
    SectionIndex = -1;
  TellOwnerOfSection(value);
}

void TsCommonData::SetSkinSection(const std::string& value) {
  if (value == skinSection_) return;
  skinSection_ = value.empty() ? "UNKNOWN" : Upper(value);
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->GeneralData.empty())
    SectionIndex = -1;
  else
    UpdateSkinIndexes(*this);
  if (!OwnerControl && OnSectionChanged) OnSectionChanged();
  TellOwnerOfSection(manager);
}

void TsCommonData::TellOwnerOfSection(TsSkinManager* manager) {
  if (!OwnerSettled() || !OwnerControl->Parent()) return;
  bool skinned = manager && !manager->GeneralData.empty() && SectionIndexValid(manager, SectionIndex);
  OwnerControl->Perform(SM_ALPHACMD, MakeSkinWParam(skinned ? SKC_REFRESH : SKC_REMOVESKIN),
                        reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::SetCustomColor(bool value) {
  if (value == customColor_) return;
  customColor_ = value;
  if (SkinActiveFor(this, false) && IsEditOwner(OwnerControl) && !Loading(OwnerControl)) {
    ApplySectionColors();
    InvalidateOwner();
  }
}

void TsCommonData::SetCustomFont(bool value) {
  if (value == customFont_) return;
  customFont_ = value;
  InvalidateOwner();
}

void TsCommonData::ApplySectionColors() {
  const TsGeneralData* s = Section();
  if (!s || !OwnerControl) return;
  if (!customColor_ && OwnerControl->Color() != s->Color) OwnerControl->SetColor(s->Color);
  if (!customFont_ && OwnerControl->Font().Color() != s->FontColor[0]) OwnerControl->Font().SetColor(s->FontColor[0]);
}

void TsCommonData::ResolveSkinSection() {
  if (!skinSection_.empty()) return UpdateSkinIndexes(*this);
  const char* section = DefaultSectionOfKind(ControlKind);
  SetSkinSection(section ? section : ClassName(OwnerObject));
}

void TsCommonData::ApplySkinColors() {
  ResolveSkinSection();
  if (!SkinActiveFor(this, false)) return;
  if (!OwnerControl || !OwnerControl->Parent() || Loading(OwnerControl)) return;
  if (OwnerControl->IsWindowed()) NotifyParentFormOfChange(OwnerControl);
  if (IsEditOwner(OwnerControl) || ControlKind == 97) ApplySectionColors();
}

const TsGeneralData* TsCommonData::Section() const {
  TsSkinManager* manager = SkinManager();
  return SectionIndexValid(manager, SectionIndex) ? &manager->GeneralData[static_cast<size_t>(SectionIndex)] : nullptr;
}

bool TsCommonData::NeedsOwnCache() {
  const TsGeneralData* s = Section();
  if (!s) return false;
  if (ThickBorder(SkinManager(), s->BorderIndex, 30)) return true;
  if (s->Transparency == 100) {
    if (!OwnerControl || !OwnerControl->Parent()) return true;
    return (SendSkinCommandToControl(OwnerControl->Parent(), SKC_CHILDTRANSPARENCY, 0) & 1) == 0;
  }
  if (s->Transparency != 0) return true;
  return s->ImagePercent != 0 || s->GradientPercent != 0;
}

void TsCommonData::UpdateCacheMode(bool notifyChildren) {
  SkinState &= static_cast<uint16_t>(~1u);
  if (dynamic_cast<TPanel*>(OwnerControl) || dynamic_cast<TForm*>(OwnerControl)) {
    if (!NeedsOwnCache()) SkinState |= 1;
  }
  if (notifyChildren && OwnerControl && OwnerControl->IsWindowed()) {
    auto* windowed = static_cast<TWinControl*>(OwnerControl);
    for (int i = 0; i < windowed->ControlCount(); ++i) SendSkinCommandToControl(windowed->Controls(i), SKC_CHILDTRANSPARENCY, 1);
  }
}

// While a skin change animates, every image is wanted as it stands.
bool TsCommonData::CacheReusable() { return SkinChangeAnimating || (SkinState & 1) == 0 || HotState(); }

bool TsCommonData::IsUpdating() {
  if (!SkinManager()) return false;
  if (!CacheReusable()) return Updating;
  if (!OwnerControl || Destroying(OwnerControl)) return Updating;
  if (Updating) return true;
  if (!OwnerControl->Parent()) return true;
  return AskControlSkinCommand(OwnerControl->Parent(), SKC_ISUPDATING) == 1;
}

void TsCommonData::StartUpdate() {
  Updating = true;
  if (OwnerControl) OwnerControl->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_UPDATESTARTED), 0);
}

void TsCommonData::FinishUpdate() {
  Updating = false;
  if (OwnerControl) OwnerControl->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_UPDATEFINISHED), 0);
}

bool TsCommonData::HotState() {
  if (!OwnerControl || Destroying(OwnerControl) || !OwnerControl->Enabled()) return false;
  if (HasFocus || (OwnerControl->IsWindowed() && static_cast<TWinControl*>(OwnerControl)->Focused())) return true;
  return MouseOver && !NoHoverKinds.Has(ControlKind);
}

void TsCommonData::InvalidateOwner() {
  if (!OwnerSettled()) return;
  BackgroundChanged = true;
  if (ControlAcceptsSkinning(OwnerControl)) OwnerControl->Invalidate();
}

void TsCommonData::SizeCacheBitmap() {
  if (!CacheBitmap) CacheBitmap = std::make_unique<TBitmap>(0, 0, pf24bit);
  if (CacheBitmap->PixelFormat() == pfDevice) CacheBitmap->SetPixelFormat(pf24bit);
  if (!OwnerControl) return;
  if (CacheBitmap->Width() != OwnerControl->Width() || CacheBitmap->Height() != OwnerControl->Height())
    CacheBitmap->SetSize(OwnerControl->Width(), OwnerControl->Height());
}

void TsCommonData::SizeCacheBitmap24() {
  if (CacheBitmap && CacheBitmap->PixelFormat() != pf24bit) CacheBitmap->SetPixelFormat(pf24bit);
  SizeCacheBitmap();
}

bool TsCommonData::SectionIsTransparent() const {
  const TsGeneralData* s = Section();
  return s && s->Transparency > 0;
}

int TsCommonData::MaxBorderWidth() const {
  TsSkinManager* manager = SkinManager();
  if (!MaskIndexValid(manager, BorderMaskIndex)) return 0;
  const TsMaskData& m = manager->Masks[static_cast<size_t>(BorderMaskIndex)];
  if (m.StretchMode & 2) return 0;
  return std::max({m.WL, m.WT, m.WR, m.WB});
}

bool TsCommonData::OwnerSettled() const {
  return OwnerControl && !Loading(OwnerControl) && !Destroying(OwnerControl);
}

void UpdateSkinIndexes(TsCommonData& SkinData) {
  SkinData.BackgroundChanged = true;
  TsSkinManager* manager = SkinData.SkinManager();
  SkinData.SectionIndex = SectionIndexByName(manager, SkinData.SkinSection());
  SkinData.SkinState = 0;
  if (const TsGeneralData* s = SkinData.Section()) {
    SkinData.BorderMaskIndex = s->BorderIndex;
    SkinData.TextureMaskIndex = TextureIndex(manager, SkinData.SectionIndex, SkinData.SkinSection(), "PATTERN");
    SkinData.HotTextureMaskIndex = TextureIndex(manager, SkinData.SectionIndex, SkinData.SkinSection(), "HOTPATTERN");
    SkinData.UpdateCacheMode(false);
  } else {
    SkinData.BorderMaskIndex = SkinData.TextureMaskIndex = SkinData.HotTextureMaskIndex = -1;
  }
}

bool SkinActiveFor(const TsCommonData* SkinData, bool checkActive) {
  if (!SkinData || SkinData->SectionIndex < 0) return false;
  TsSkinManager* manager = SkinData->SkinManager();
  if (!manager || Destroying(manager)) return false;
  if (Destroying(dynamic_cast<const TComponent*>(SkinData->OwnerObject))) return false;
  if (checkActive && !manager->LoadedSkin.Active) return false;
  return SectionIndexValid(manager, SkinData->SectionIndex);
}
