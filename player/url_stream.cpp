#include "player/url_stream.h"

#include <vector>

#include "download/inet_handle.h"
#include "framework/exceptions.h"
#include "framework/text_encoding.h"

namespace {

constexpr DWORD kBlockSize = 1024 * 1024;

}  // namespace

void DownloadToStream(const std::string& Address, TStream& Stream) {
  efir::InetHandle session(InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) throw Exception("The network library cannot be started");
  Stream.SetPosition(0);
  efir::InetHandle request(InternetOpenUrlW(session.get(), efir::text::fromAnsi(Address).c_str(),
                                            nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!request) throw Exception("Cannot open " + Address);
  std::vector<char> block(kBlockSize);
  DWORD read = 0;
  while (InternetReadFile(request.get(), block.data(), kBlockSize, &read) && read > 0)
    Stream.WriteBuffer(block.data(), read);
}
