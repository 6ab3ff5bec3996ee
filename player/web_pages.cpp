#include "player/web_pages.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/text_encoding.h"

namespace {

std::string testSite;
std::function<void(const std::string&)> testOpener;

}  // namespace

std::string ProductSite() { return testSite.empty() ? kProductSite : testSite; }

void SetProductSiteForTests(const std::string& address) { testSite = address; }

void OpenWebPage(const std::string& Url) {
  if (testOpener) {
    testOpener(Url);
    return;
  }
  ShellExecuteW(nullptr, L"open", efir::text::fromAnsi(Url).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

void SetWebPageOpenerForTests(std::function<void(const std::string& Url)> opener) {
  testOpener = std::move(opener);
}
