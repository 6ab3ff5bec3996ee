#include "player/update_check.h"

#include <exception>

#include "framework/convert.h"
#include "player/main_window.h"
#include "player/update_notice.h"
#include "player/web_pages.h"

namespace {

// The site is asked once, and a silent site must not hold the player up for long.
constexpr int kVersionTimeoutMs = 2000;

std::string TrimmedBody(const std::string& body) {
  constexpr char kBlanks[] = " \t\r\n";
  const size_t first = body.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return body.substr(first, body.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

bool NewerVersionOffered(const std::string& Body) {
  const std::string number = TrimmedBody(Body);
  // An error or portal page that came with a success status is no version.
  constexpr int kNoVersion = -1;
  return !number.empty() && efir::StrToIntDef(number, kNoVersion) > kPlayerVersion;
}

void TForm1::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  // These stay for the later requests of this client.
  IdHTTP1.ConnectTimeout = kVersionTimeoutMs;
  IdHTTP1.ReadTimeout = kVersionTimeoutMs;
  std::string body;
  try {
    body = IdHTTP1.Get(ProductSite() + "/versionplus.txt");
  } catch (const std::exception&) {
    // No network, no site, an error status: the player simply goes on.
  }
  if (NewerVersionOffered(body)) Form4->ShowModal();
}
