#include "framework/io_error.h"

#include <windows.h>

#include "framework/exceptions.h"
#include "framework/text_encoding.h"

namespace efir {

std::string SystemErrorMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", n);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "System error " + std::to_string(code);
  return text::toAnsi(text);
}

void RaiseLastIOError(const std::string& what) {
  DWORD code = GetLastError();
  throw EInOutError(what + ". " + SystemErrorMessage(code), static_cast<int>(code));
}

}  // namespace efir
