#include "framework/files.h"

#include "framework/file_handle.h"
#include "framework/io_error.h"
#include "framework/text_encoding.h"

namespace efir {
namespace {

DWORD attributesOf(const std::string& path) {
  return GetFileAttributesW(text::fromAnsi(path).c_str());
}

// A wide text from a buffer-filling call that answers with the length it needs.
template <class Call>
std::wstring fetchWide(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The temporary file a safe write of `path` goes through. It is named after the target: a
// crash leaves one such file at most, and folder scans that pass over the target's name
// pattern pass over it too.
std::string temporaryPathOf(const std::string& path) { return path + ".new"; }

size_t nameStart(std::string_view path) {
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const std::string& path) { return ::DeleteFileW(text::fromAnsi(path).c_str()); }

bool RenameFile(const std::string& from, const std::string& to) {
  return MoveFileW(text::fromAnsi(from).c_str(), text::fromAnsi(to).c_str());
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileW(text::fromAnsi(from).c_str(), text::fromAnsi(to).c_str(), failIfExists);
}

std::vector<TSearchRec> FindFiles(const std::string& pattern) {
  std::vector<TSearchRec> entries;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(text::fromAnsi(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_NO_MORE_FILES)
      return entries;
    RaiseLastIOError("Cannot list \"" + pattern + "\"");
  }
  do {
    TSearchRec entry;
    entry.Name = text::toAnsi(data.cFileName);
    entry.Attr = data.dwFileAttributes;
    entry.Size = static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    entries.push_back(std::move(entry));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, nameStart(path))); }

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(nameStart(path))); }

std::string ExtractFileExt(std::string_view path) {
  std::string_view name = path.substr(nameStart(path));
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string ProgramFolder() {
  std::wstring path = fetchWide([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  return text::toAnsi(path.substr(0, path.find_last_of(L"\\/") + 1));
}

std::string GetCurrentDir() {
  return text::toAnsi(fetchWide([](wchar_t* b, DWORD n) { return GetCurrentDirectoryW(n, b); }));
}

void WriteFileSafely(const std::string& path, std::string_view content) {
  const std::string tempPath = temporaryPathOf(path);
  // Replacing a file by a rename takes no notice of its read-only mark (and drops it).
  const DWORD attributes = attributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    RaiseLastIOError("Cannot write file \"" + path + "\"");
  }
  try {
    FileHandle file = FileHandle::Open(tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS);
    file.Write(content.data(), content.size(), tempPath);
    if (!FlushFileBuffers(file.Get())) RaiseLastIOError("Cannot write file \"" + tempPath + "\"");
    file.Close();
    if (!MoveFileExW(text::fromAnsi(tempPath).c_str(), text::fromAnsi(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      RaiseLastIOError("Cannot replace file \"" + path + "\"");
  } catch (...) {
    DeleteFile(tempPath);
    throw;
  }
}

void RemoveUnfinishedWrite(const std::string& path) { DeleteFile(temporaryPathOf(path)); }

}  // namespace efir
