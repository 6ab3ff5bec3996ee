#include "framework/file_handle.h"

#include <algorithm>

#include "framework/io_error.h"
#include "framework/text_encoding.h"

namespace efir {
namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.Release();
  }
  return *this;
}

FileHandle FileHandle::Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileW(text::fromAnsi(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    bool creates = disposition == CREATE_ALWAYS || disposition == CREATE_NEW;
    RaiseLastIOError((creates ? "Cannot create file " : "Cannot open file ") + quoted(path));
  }
  return FileHandle(h);
}

HANDLE FileHandle::Release() {
  HANDLE h = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return h;
}

void FileHandle::Close() {
  if (IsOpen()) CloseHandle(Release());
}

size_t FileHandle::Read(void* buffer, size_t count, const std::string& path) {
  size_t total = 0;
  while (total < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_, static_cast<char*>(buffer) + total, chunk, &got, nullptr))
      RaiseLastIOError("Cannot read file " + quoted(path));
    if (got == 0) break;
    total += got;
  }
  return total;
}

void FileHandle::Write(const void* buffer, size_t count, const std::string& path) {
  size_t total = 0;
  while (total < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(handle_, static_cast<const char*>(buffer) + total, chunk, &put, nullptr))
      RaiseLastIOError("Cannot write file " + quoted(path));
    if (put == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      RaiseLastIOError("Cannot write file " + quoted(path));
    }
    total += put;
  }
}

int64_t FileHandle::Seek(int64_t offset, DWORD method, const std::string& path) {
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(handle_, distance, &position, method))
    RaiseLastIOError("Cannot seek in file " + quoted(path));
  return position.QuadPart;
}

int64_t FileHandle::Size(const std::string& path) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_, &size)) RaiseLastIOError("Cannot read file " + quoted(path));
  return size.QuadPart;
}

void FileHandle::Truncate(const std::string& path) {
  if (!SetEndOfFile(handle_)) RaiseLastIOError("Cannot write file " + quoted(path));
}

}  // namespace efir
