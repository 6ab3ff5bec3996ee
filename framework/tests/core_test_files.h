// A scratch folder for the file tests, emptied at the start of each test, and raw byte
// access that bypasses the classes under test.
#pragma once

#include <windows.h>

#include <string>

namespace efir::test {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) : path_(name + "\\") {
    CreateDirectoryA(name.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      std::string entry = path_ + data.cFileName;
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(entry.c_str());
      else if (data.cFileName[0] != '.') RemoveDirectoryA(entry.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }

  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

inline std::string readBytes(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "(missing)";
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  return bytes;
}

}  // namespace efir::test
