#include "framework/graphics.h"

#include "framework/exceptions.h"
#include "framework/gdi.h"
#include "framework/text_encoding.h"

#include <vector>

namespace {

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::vector<char> readWholeFile(const std::string& fileName) {
  FileHandle file{CreateFileW(efir::text::fromAnsi(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  LARGE_INTEGER size{};
  if (file.handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.handle, &size))
    throw EPictureError("Cannot open picture file \"" + fileName + "\"");
  // Pictures are small; a size that does not fit a buffer is not a picture.
  if (size.QuadPart > 0x7FFFFFFF) throw EPictureError("Picture file \"" + fileName + "\" is too large");
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read,
                                   nullptr) || read != bytes.size()))
    throw EPictureError("Cannot read picture file \"" + fileName + "\"");
  return bytes;
}

}  // namespace

void TGraphic::LoadFromFile(const std::string& fileName) {
  const std::vector<char> bytes = readWholeFile(fileName);
  try {
    LoadFromMemory(bytes.data(), bytes.size());
  } catch (const EPictureError& e) {
    throw EPictureError("Picture file \"" + fileName + "\": " + e.Message());
  }
}
