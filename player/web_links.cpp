#include "player/web_links.h"

#include <initializer_list>
#include <string_view>

#include "framework/text_encoding.h"
#include "framework/text_utils.h"
#include "player/qr_dialog.h"
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
  return EncodeQueryText(efir::text::ansiToUtf8(Text));
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
