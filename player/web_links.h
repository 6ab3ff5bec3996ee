// The pages the player's commands open in the browser, and the track title as the copy and
// share commands take it from the status label. Every value put into a query is sent as
// UTF-8 and percent-encoded, so that a title holding "&", "?" or Cyrillic letters arrives
// whole.
//
//   OpenWebPage(ShareAddress(ShareTitle(Form1->RxLabel7->Caption()), station));
//   OpenWebPage(StationOfflineAddress(Settings.LastStation));
#pragma once

#include <string>

// The social network whose share page takes the title.
inline constexpr char kSocialNetwork[] = "https://vk.com";

// The status label's text without the recording prefix and the leftovers of the stream's
// time and accelerator marks: for the clipboard, and for sharing.
std::string CopiedTitle(const std::string& Caption);
std::string SharedTitle(const std::string& Caption);

// A Windows-1251 text as one query value: its UTF-8 bytes, encoded as the QR service's
// texts are (a space as "+", any byte but letters, digits and "-_.~" as "%" and two
// hexadecimal digits).
std::string QueryValue(const std::string& Text);

// The social network's share page for a title heard on the station: it links to the
// network's own search for the title and shows the product site's picture.
std::string ShareAddress(const std::string& Title, const std::string& StationName);
// The product site's pages: help, a station's QR code, the notice for a station that does
// not play, and the home page.
std::string FaqAddress();
std::string StationQrAddress(const std::string& Name, const std::string& Url);
std::string StationOfflineAddress(int Station);
std::string HomeAddress();
