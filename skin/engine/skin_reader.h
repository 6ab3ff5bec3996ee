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
// missing pictures and keys of no known form are skipped. Every reader takes time in
// proportion to the skin's size. A picture is decoded once however many keys name it, and
// the entries share it; the pictures of one source together may not decode to more than
// MaxDecodedSkinSize bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "skin/engine/skin_data.h"
#include "skin/engine/skin_ini.h"
#include "skin/engine/skin_pack.h"
#include "skin/engine/stored_skins.h"

class TsSkinManager;

// The most the pictures of one skin may decode to ("Skin pictures decode to more than
// 512 MiB"): room for the largest picture we decode and more, far below what a few bytes of
// forged names could otherwise make us hold.
constexpr int64_t MaxDecodedSkinSize = 512 * 1024 * 1024;

struct TSkinSource {
  TMemIniFile Ini;
  // Pictures come from the container's entries when set, else from files: a name without
  // ":" lies in SkinPath (the skin's folder with a trailing backslash).
  const TacSkinConvertor* Packed = nullptr;
  std::string SkinPath;

  // The first container entry whose upper-cased name is `name`; nullptr when none.
  const TacImageItem* PackedPicture(const std::string& name) const;

  // The pictures decoded from this source so far, each once, by the name the skin gives and
  // the form kept (a null picture: missing). Bytes counts every picture held, Decodes every
  // picture file decoded.
  struct DecodedPictures {
    std::map<std::pair<std::string, bool>, std::shared_ptr<TBitmap>> Bitmaps;  // (name, as 24-bit)
    std::map<std::string, std::shared_ptr<TJPEGImage>> Jpegs;
    std::map<std::string, std::shared_ptr<TBitmap>> JpegTextures;  // small JPEGs tiled as textures
    int64_t Bytes = 0;
    int Decodes = 0;
  };
  mutable DecodedPictures Decoded;

 private:
  mutable std::unordered_map<std::string, const TacImageItem*> packedIndex_;
  mutable bool indexed_ = false;
};

namespace efir::skin {

// Clears the manager's masks and master bitmap, loads "MASTERBITMAP", and appends one mask
// per image value of every section.
void ReadSkinMasks(TsSkinManager& manager, const TSkinSource& source);
// Clears the patterns and appends one per JPEG value; small pictures become texture masks.
void ReadSkinPatterns(TsSkinManager& manager, const TSkinSource& source);
// The values of "GLOBALINFO", read without PARENTCLASS. A version this engine does not know
// goes to SkinVersionNotice.
void ReadGlobalInfo(TsSkinData& skin, const TSkinSource& source);
// One record per section, in text order, with PARENTCLASS inheritance.
void ReadSkinSections(TsGeneralDataArray& sections, const TMemIniFile& ini);
// Reads an older stored skin (one without Data) from its lists: pictures, patterns, the
// global values it keeps and its sections, in place of the four readers above.
void ReadStoredSkin(TsSkinManager& manager, const TsStoredSkin& stored);
// Adds the overlay's pictures (files under skinPath), patterns and the sections the skin
// lacks; sections the skin has stay as it defines them.
void ReadCommonSections(TsSkinManager& manager, const TMemIniFile& overlay, const std::string& skinPath);

// Receives the notice about a skin of a version this engine does not know. By default it
// queues a warning box for when the program next serves its messages, so that the load (and
// the start of the program) goes on: a box shown at once would serve paint messages while the
// manager's records are half replaced. Tests put their own receiver here.
extern std::function<void(const std::string& text)> SkinVersionNotice;

}  // namespace efir::skin
