// An owned network-library handle (session or request), closed when it goes.
//
//   efir::InetHandle session(InternetOpenW(agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
//   if (!session) ...
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <type_traits>

namespace efir {

struct InetHandleCloser {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, InetHandleCloser>;

}  // namespace efir
