// Packed skins: one container of named entries, each its own zlib stream, that carries a
// skin's "Options.dat" text and its pictures. Skin files with the extension "asz" and the
// skins stored in window layouts share it. The engine only reads containers.
//
//   std::unique_ptr<TacSkinConvertor> skin;
//   OpenPackedSkinFile(folder + "Night.asz", skin, true);   // nothing when the file is missing
//   if (skin && skin->OptionsData) ...                       // the text; skin->ImageItems the pictures
//
// Layout (32-bit little-endian integers): "ASzf", the entry count, then per entry the name
// length, the name, the unpacked size and one complete zlib stream. A damaged container
// raises Exception and leaves the convertor empty; nothing is read past its end, no entry
// may unpack to more than MaxPackedEntrySize bytes and all of them together to no more than
// MaxPackedSkinSize. The whole container is checked (each stream unpacked and counted, not
// kept) before memory is taken for any entry, so a forged file takes no more than its own
// bytes until it has proved what it holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/streams.h"

struct TacImageItem {
  std::string Name;                      // as stored
  bool IsBitmap = false;                 // the upper-cased extension is ".BMP"
  std::unique_ptr<TMemoryStream> Data;   // exactly the unpacked bytes
};

class TacSkinConvertor {
 public:
  TacSkinConvertor() = default;
  TacSkinConvertor(const TacSkinConvertor&) = delete;
  TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;
  ~TacSkinConvertor() { ClearPackedSkin(); }

  // Parses PackedData from its start. Entries named "Options.dat" (in any letter case) give
  // OptionsData, the last one winning; the others become ImageItems in container order.
  void ReadPackedSkin();
  // Drops every entry and the text; frees PackedData only when this convertor read it itself.
  void ClearPackedSkin();

  int ImageCount = 0;   // the container's entry count minus one
  // The bytes the last ReadPackedSkin took for entries, also when it failed: a container is
  // checked whole before any are taken, so a damaged or oversized one takes none.
  int64_t UnpackedBytesTaken = 0;
  std::vector<TacImageItem> ImageItems;
  std::unique_ptr<TMemoryStream> OptionsData;
  // The packed source. A caller may lend its own stream here (a stored skin's data); it is
  // then never freed by the convertor.
  TMemoryStream* PackedData = nullptr;

 private:
  friend void OpenPackedSkinFile(const std::string&, std::unique_ptr<TacSkinConvertor>&, bool);
  std::unique_ptr<TMemoryStream> ownedData_;
};

// The largest entry a container may unpack to: far above any skin picture, far below what
// a forged size could make us allocate.
constexpr int64_t MaxPackedEntrySize = 64 * 1024 * 1024;
// The most a whole container may unpack to ("Packed skin unpacks to more than 256 MiB").
constexpr int64_t MaxPackedSkinSize = 256 * 1024 * 1024;

// Does nothing when the file does not exist. Otherwise empties the convertor (creating it
// when null), reads the whole file as its PackedData and parses it; with freeSource the file's
// bytes are dropped afterwards.
void OpenPackedSkinFile(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freeSource);
