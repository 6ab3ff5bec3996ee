// The skin state of one skinned thing (a skinned control, a window adapter, a form's
// provider): which manager and section paint it, the indexes of that section's records, the
// off-screen image (cache) it paints from, and the flags by which it, its parent and its
// children agree on when that image must be rebuilt. The owner creates one, sets its
// ControlKind, calls ApplySkinColors once its properties are set, and passes every message
// to SkinControlWndProc (common_wndproc.h) before its own handling.
//
//   SkinData = std::make_unique<TsCommonData>(this, true);
//   SkinData->ControlKind = ckButton;              // "BUTTON" unless SkinSection is set
//   ...Loaded(): SkinData->ApplySkinColors();
//   ...painting: if (SkinData->BackgroundChanged) { SkinData->SizeCacheBitmap(); ...rebuild... }
//
// The background answers (FillBackgroundInfo, BackgroundColor, ParentCacheInfo,
// BackgroundFollowsParent) live in background_answers.cpp.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_data.h"

class TsSkinManager;

// Control-kind codes the skinned classes set.
constexpr int ckEdit = 3, ckCheckBox = 32, ckButton = 93, ckBitBtn = 94, ckScrollBar = 142, ckTrackBar = 165,
              ckForm = 224, ckFrame = 226, ckAdapted = 227;

// A set of control-kind codes 0..255; a code outside counts as not a member.
class TsKindSet {
 public:
  // Each pair is an inclusive range of codes.
  constexpr TsKindSet(std::initializer_list<std::pair<int, int>> ranges) {
    for (auto [from, to] : ranges)
      for (int code = from; code <= to; ++code) bits_[static_cast<size_t>(code) / 64] |= uint64_t{1} << (code % 64);
  }
  constexpr bool Has(int code) const {
    return code >= 0 && code < 256 && (bits_[static_cast<size_t>(code) / 64] >> (code % 64) & 1) != 0;
  }

 private:
  std::array<uint64_t, 4> bits_{};
};

// Kinds the mouse never makes hot.
constexpr TsKindSet NoHoverKinds{{19, 19}, {51, 74}, {110, 110}, {141, 161}};
// Kinds that never glow.
constexpr TsKindSet NoGlowKinds{{51, 52}, {54, 54}, {56, 60}, {68, 68}, {73, 74}, {110, 110}, {141, 141},
                                {143, 143}, {151, 151}, {161, 161}, {226, 226}};
// Kinds whose frame shows focus and hover: they repaint with their frame on those changes.
constexpr TsKindSet EditKinds{{2, 18}, {41, 41}, {76, 84}, {96, 97}, {131, 140}};

// The section a control of this kind takes when none is named; nullptr: its class name.
const char* DefaultSectionOfKind(int kind);

class TsCommonData {
 public:
  // Every index -1 and the background marked changed; `createCacheBitmap` gives an empty
  // 24-bit cache at once.
  TsCommonData(TObject* owner, bool createCacheBitmap);
  ~TsCommonData();
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;

  // The own manager, else the default one; nullptr when there is none.
  TsSkinManager* SkinManager() const;
  // The default manager is kept as "none of its own", so the owner follows the default.
  void SetSkinManager(TsSkinManager* value);
  const std::string& SkinSection() const { return skinSection_; }
  // Stored upper-case ("UNKNOWN" for empty); the indexes follow and the owner is told.
  void SetSkinSection(const std::string& value);
  bool CustomColor() const { return customColor_; }
  void SetCustomColor(bool value);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool value);

  // The owner's properties are set: find the section and take its colours.
  void ApplySkinColors();
  // Writes the kind's default section when none is named, else finds the named one.
  void ResolveSkinSection();
  // The section record, or nullptr when SectionIndex is not valid in the manager.
  const TsGeneralData* Section() const;

  void UpdateCacheMode(bool notifyChildren);
  bool NeedsOwnCache();
  bool CacheReusable();
  // Whether painting must wait (the owner or, for a reusable cache, its parent updates).
  bool IsUpdating();
  void SetUpdating(bool value) { Updating = value; }
  void StartUpdate();
  void FinishUpdate();
  bool HotState();
  void InvalidateOwner();
  void SizeCacheBitmap();
  // As SizeCacheBitmap, also turning an existing cache of another format into 24 bits.
  void SizeCacheBitmap24();
  bool SectionIsTransparent() const;
  int MaxBorderWidth() const;

  // Shows the section's glow around the hot owner (or around `wnd` without an owner
  // control) when the manager allows glowing and the section's GLOW is at least 1; releases
  // it when the mouse is not over the owner, its left button is down, or `toggle` is set
  // while a glow is shown (control_glow.cpp).
  void UpdateGlow(bool toggle, HWND wnd);
  // Frees the glow this owner shows, if any.
  void ReleaseOwnGlow();

  // Background answers.
  void FillBackgroundInfo(BackgroundInfo& Info, bool Hot, HWND Wnd);
  TColor BackgroundColor(bool Hot, HWND Wnd);
  void ParentCacheInfo(CacheSourceInfo& Info);
  bool BackgroundFollowsParent();

  int GlowIndex = -1;
  bool Updating = false;
  TsSkinManager* OwnSkinManager = nullptr;  // not owned; nullptr: the default manager
  int BorderMaskIndex = -1;
  int SectionIndex = -1;
  int TextureMaskIndex = -1;
  int HotTextureMaskIndex = -1;
  bool CacheLocked = false;        // paint the existing cache, do not rebuild it
  bool BackgroundChanged = true;   // rebuild the cache before the next paint
  bool PartlyOutside = true;       // the owner sticks out of its parent's client area
  TControl* OwnerControl = nullptr;
  TObject* OwnerObject = nullptr;
  // Told of a new section when there is no owner control to tell (a form's skin provider
  // drops what it keeps of the old section's looks).
  std::function<void()> OnSectionChanged;
  std::unique_ptr<TBitmap> CacheBitmap;
  int ControlKind = 0;
  bool HasFocus = false;
  bool MouseOver = false;
  uint16_t SkinState = 0;          // bit 0: a plain container painting without a cache

 private:
  // The owner exists and is neither loading nor being destroyed.
  bool OwnerSettled() const;
  // Hands the owner the skin command that matches the section just found.
  void TellOwnerOfSection(TsSkinManager* manager);
  // Takes the section's colours into an edit-like owner unless kept custom.
  void ApplySectionColors();

  std::string skinSection_;
  bool customFont_ = false;
  bool customColor_ = false;
};

// The C++ class name of the object without its namespace ("TButton"); empty for nullptr.
std::string ClassName(const TObject* object);

// Finds SectionIndex and the section's border and texture indexes in the current manager.
void UpdateSkinIndexes(TsCommonData& SkinData);
// The skin paints this owner now: a manager with the section, neither the owner nor the
// manager going, and with `checkActive` the skin is active.
bool SkinActiveFor(const TsCommonData* SkinData, bool checkActive);
