// Raising EInOutError for a failed Win32 file or registry call, with the system's reason in
// the message, so that the default handler shows the user what went wrong and where.
//
//   if (h == INVALID_HANDLE_VALUE) efir::RaiseLastIOError("Cannot open file \"" + path + "\"");
#pragma once

#include <string>

namespace efir {

// The system's text for an error code (Windows-1251, without the trailing line break).
std::string SystemErrorMessage(unsigned long code);

// Raises EInOutError "<what>. <system text>" for GetLastError(), with that code.
[[noreturn]] void RaiseLastIOError(const std::string& what);

}  // namespace efir
