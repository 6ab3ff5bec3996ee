#include "player/web_links.h"

#include <initializer_list>
#include <string_view>

#include "framework/text_encoding.h"
#include "framework/text_utils.h"
#include "player/web_pages.h"

namespace {

std::string RemoveEach(std::string text, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) text = efir::ReplaceAll(text, part, "");
  return text;
}

// The product site's host, as the share page's description names the source.
std::string SiteDomain() {
  std::string site = ProductSite();
  size_t scheme = site.find("://");
  return scheme == std::string::npos ? site : site.substr(scheme + 3);
}

}  // namespace

std::string CopiedTitle(const std::string& Caption) {
  return RemoveEach(Caption, {"Идёт запись: ", " - 0:00", "_", "&", "&&"});
}

std::string SharedTitle(const std::string& Caption) {
  return RemoveEach(Caption, {" - 0:00", "_", "&", "&&", "Идёт запись: "});
}

std::string QueryValue(const std::string& Text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : efir::text::ansiToUtf8(Text)) {
    auto b = static_cast<unsigned char>(c);
    bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                 b == '-' || b == '_' || b == '.' || b == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string ShareAddress(const std::string& Title, const std::string& StationName) {
  std::string search = kSocialNetwork;
  search += "/audio.php?q=" + QueryValue(Title);
  std::string share = kSocialNetwork;
  share += "/share.php?url=" + QueryValue(search);
  share += "&title=" + QueryValue(Title);
  share += "&description=" + QueryValue(StationName + " | " + SiteDomain());
  share += "&image=" + QueryValue(ProductSite() + "/playvk.gif");
  return share + "&noparse=true";
}

std::string FaqAddress() { return ProductSite() + "/radio_15_FAQ_vopros-otvet.html"; }

std::string StationQrAddress(const std::string& Name, const std::string& Url) {
  return ProductSite() + "/radioqr.php?name=" + QueryValue(Name) + "&station=" + QueryValue(Url);
}

std::string StationOfflineAddress(int Station) {
  return ProductSite() + "/off/radiofffline" + std::to_string(Station) + ".html";
}

std::string HomeAddress() { return ProductSite() + "/"; }
