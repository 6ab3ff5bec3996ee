// The readers that turn a skin's "Options.dat" text and pictures into a manager's records
// (skin_data.h). The manager runs them in this order: ReadSkinMasks, ReadSkinPatterns,
// ReadGlobalInfo, ReadSkinSections (or ReadStoredSkin alone for an older stored skin), then
// ReadCommonSections when it has an overlay.
//
//   TSkinSource source;
//   source.Ini.SetText(optionsText);
//   source.SkinPath = folder + "\\";          // or source.Packed = &convertor
//   efir::skin::ReadSkinMasks(manager, source);
//
// Malformed numbers raise EConvertError and a picture that cannot be decoded EPictureError;
// missing pictures and keys of no known form are skipped.
#pragma once

#include <string>

#include "skin/engine/skin_data.h"
#include "skin/engine/skin_ini.h"
#include "skin/engine/skin_pack.h"
#include "skin/engine/stored_skins.h"

class TsSkinManager;

struct TSkinSource {
  TMemIniFile Ini;
  // Pictures come from the container's entries when set, else from files: a name without
  // ":" lies in SkinPath (the skin's folder with a trailing backslash).
  const TacSkinConvertor* Packed = nullptr;
  std::string SkinPath;
};

namespace efir::skin {

// Clears the manager's masks and master bitmap, loads "MASTERBITMAP", and appends one mask
// per image value of every section.
void ReadSkinMasks(TsSkinManager& manager, const TSkinSource& source);
// Clears the patterns and appends one per JPEG value; small pictures become texture masks.
void ReadSkinPatterns(TsSkinManager& manager, const TSkinSource& source);
// The values of "GLOBALINFO", read without PARENTCLASS.
void ReadGlobalInfo(TsSkinData& skin, const TMemIniFile& ini);
// One record per section, in text order, with PARENTCLASS inheritance.
void ReadSkinSections(TsGeneralDataArray& sections, const TMemIniFile& ini);
// Reads an older stored skin (one without Data) from its lists: pictures, patterns, the
// global values it keeps and its sections, in place of the four readers above.
void ReadStoredSkin(TsSkinManager& manager, const TsStoredSkin& stored);
// Adds the overlay's pictures (files under skinPath), patterns and the sections the skin
// lacks; sections the skin has stay as it defines them.
void ReadCommonSections(TsSkinManager& manager, const TMemIniFile& overlay, const std::string& skinPath);

}  // namespace efir::skin
