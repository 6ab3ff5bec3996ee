#include "editor/station_files.h"

#include <windows.h>

#include <vector>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/file_handle.h"
#include "framework/files.h"
#include "framework/io_error.h"
#include "framework/text_file.h"

namespace {

void Copy(const std::string& from, const std::string& to, bool failIfExists) {
  if (!efir::CopyFile(from, to, failIfExists))
    efir::RaiseLastIOError("Cannot copy \"" + from + "\" to \"" + to + "\"");
}

// The file's identity: its volume and its index on that volume; false when it cannot be opened.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  try {
    efir::FileHandle file = efir::FileHandle::Open(
        path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        OPEN_EXISTING);
    return GetFileInformationByHandle(file.Get(), &info) != 0;
  } catch (const EInOutError&) {
    return false;
  }
}

}  // namespace

void WriteStationFile(const std::string& path, const TStationFile& station) {
  std::string content;
  for (const std::string& line : FormatStationFile(station)) content += line + "\r\n";
  efir::WriteFileSafely(path, content);
}

int ReadSlotCount(const std::string& path) {
  TTextFile file;
  file.Reset(path);
  std::string line = file.ReadLine();
  file.Close();
  return efir::StrToInt(line);
}

void WriteSlotCount(const std::string& path, int count) {
  efir::WriteFileSafely(path, efir::IntToStr(count));
}

void CopyUnlessExists(const std::string& from, const std::string& to) {
  if (!efir::FileExists(to)) Copy(from, to, true);
}

void CopyReplacing(const std::string& from, const std::string& to) { Copy(from, to, false); }

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
  return FileIdentity(a, infoA) && FileIdentity(b, infoB) &&
         infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
         infoA.nFileIndexLow == infoB.nFileIndexLow;
}
