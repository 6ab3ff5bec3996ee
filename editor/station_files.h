// The files the editor writes in the program folder: station files (read through
// ReadStationFile of the station store), the slot count `sc.txt`, and the copies that add,
// save and reset make. Every failure raises EInOutError (or EConvertError for a slot count
// that is not a number), so a command stops where it failed and the user sees why.
//
//   TStationFile station = ReadStationFile(StationFilePath(EditorFolder(), 3));
//   WriteSlotCount(EditorFolder() + "sc.txt", 8);
#pragma once

#include <string>

#include "stations/station_store.h"

// Replaces the file with the three lines in one step: a failed write leaves the old file.
void WriteStationFile(const std::string& path, const TStationFile& station);

// The first line of the file as a whole number.
int ReadSlotCount(const std::string& path);
// The number's digits and nothing else: the file has no line end.
void WriteSlotCount(const std::string& path, int count);

// Copies `from` to `to` when `to` does not exist yet; an existing `to` is kept as it is.
void CopyUnlessExists(const std::string& from, const std::string& to);
// Copies `from` over `to`.
void CopyReplacing(const std::string& from, const std::string& to);
// Whether both paths name one existing file (whatever the spelling of the paths).
bool SameFile(const std::string& a, const std::string& b);
