// An owned Win32 file handle, and the calls the file classes make through it, each raising
// EInOutError with the file's name when the system refuses.
//
//   efir::FileHandle f = efir::FileHandle::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
//   size_t n = f.Read(buffer, sizeof buffer, path);
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace efir {

class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }

  // CreateFileW on the 1251 path; "Cannot create file" or "Cannot open file" when refused.
  static FileHandle Open(const std::string& path, DWORD access, DWORD share, DWORD disposition);

  HANDLE Get() const { return handle_; }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release();
  void Close();

  // The path only names the file in error messages.
  size_t Read(void* buffer, size_t count, const std::string& path);
  void Write(const void* buffer, size_t count, const std::string& path);
  int64_t Seek(int64_t offset, DWORD method, const std::string& path);
  int64_t Size(const std::string& path);
  void Truncate(const std::string& path);  // ends the file at the current position

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace efir
