// Files and folders by their Windows-1251 paths: tests, delete, rename, copy, path parts, folder
// listing, the program's folder, the current folder, and a whole-file write that never
// leaves the file empty or half-written (for settings files).
//
//   if (efir::FileExists(folder + "favs.txt")) ...
//   for (const TSearchRec& e : efir::FindFiles(folder + "Stations\\*.*")) ...
//   efir::WriteFileSafely(folder + "config.txt", text);
//
// DeleteFile, RenameFile and CopyFile answer with success, as the callers decide what a
// failure means; FindFiles and WriteFileSafely raise EInOutError.
#pragma once

// The Win32 macros DeleteFile and CopyFile rename these functions alike everywhere.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One entry of a folder listing.
struct TSearchRec {
  std::string Name;    // the name alone, without the folder
  DWORD Attr = 0;      // FILE_ATTRIBUTE_* bits
  int64_t Size = 0;
};

namespace efir {

bool FileExists(const std::string& path);       // an existing file, not a folder
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);  // fails when `to` exists
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);

// Every entry the pattern matches (files, hidden and system files, folders, and "." and ".."
// as the system lists them), in the system's order; empty when nothing matches or the folder
// is missing.
std::vector<TSearchRec> FindFiles(const std::string& pattern);

// Parts of a path: the folder up to and including the last '\\', '/' or ':'; the name after
// it; the extension from the name's last '.' on, dot included, as spelled (empty when none).
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);

std::string ProgramFolder();                     // the running program's folder, ending in '\'
std::string GetCurrentDir();                     // without a trailing '\' (except at a root)

// Writes the whole file through a temporary file beside it (the name + ".new") that then
// replaces it: a crash or failure leaves either the old or the new content, never a part.
// A read-only file is not written (EInOutError, access denied), as a plain write would refuse.
void WriteFileSafely(const std::string& path, std::string_view content);
// Removes the temporary file a WriteFileSafely of `path` leaves when the process is killed
// in the middle; nothing happens when there is none.
void RemoveUnfinishedWrite(const std::string& path);

}  // namespace efir
