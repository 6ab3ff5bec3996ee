#include "player/address_resolvers.h"

#include <cmath>
#include <cstdint>

#include "framework/convert.h"
#include "framework/text_utils.h"
#include "player/main_window.h"

namespace {

constexpr char kStationService[] = "http://stations.example.com";
constexpr char kFlvPortal[] = "http://broadcasts.example.net";
constexpr char kPortalApi[] = "http://portal.example.org";

// The day number of 1970-01-01.
constexpr double kUnixEpochDay = 25569;
constexpr double kSecondsPerDay = 86400;
// The portal's broadcasts start this many seconds after its server time.
constexpr std::int64_t kStartOffset = 10620;
constexpr int kApiSlashPasses = 7;

TRadioServices services{kStationService, kFlvPortal, kPortalApi};

// The service's address without its scheme: "host[:port]".
std::string HostOf(const std::string& service) {
  const size_t scheme = service.find("://");
  return scheme == std::string::npos ? service : service.substr(scheme + 3);
}

std::string StationServiceMarker() { return HostOf(services.StationService) + "/"; }
std::string PortalApiMarker() { return HostOf(services.PortalApi) + "/api"; }

[[noreturn]] void NoStreamAddress(const std::string& asked) {
  throw Exception("No stream address in the answer of " + asked);
}

// A service that answers with a page, an error text or nothing has not named a stream; the
// player must not hand that on as an address.
const std::string& RequireStreamAddress(const std::string& address, const std::string& asked) {
  bool plain = !address.empty();
  for (unsigned char c : address) plain = plain && c > ' ' && c != '<' && c != '"';
  if (!plain || address.find("://") == std::string::npos) NoStreamAddress(asked);
  return address;
}

// The answer's body without the line break a service may end it with.
std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The local clock read as seconds since 1970 (not corrected to universal time): what the
// portal's player sends.
std::int64_t LocalClockSeconds() {
  return std::llround((efir::Now() - kUnixEpochDay) * kSecondsPerDay);
}

}  // namespace

std::string ResolveStationServiceUrl(const std::string& Address) {
  const std::string id = efir::ExtractBetween(StationServiceMarker(), "$", Address);
  efir::Randomize();
  const long double x = efir::Random(1000) * 0.31830988618379067154L;
  const long double product = efir::Random(1000) * x;
  const std::string rnd =
      efir::FloatToStrFixed(static_cast<double>(product - std::floor(product)), 15, 10);

  efir::HttpClient& http = Form1->IdHTTP2;
  http.ClearCookies();
  const std::string url =
      services.StationService + "/getStreamUrl.ashx?stationId=" + id + "&rnd=" + rnd;
  return RequireStreamAddress(Trimmed(http.Get(url)), url);
}

std::string ResolvePortalApiUrl(const std::string& Address) {
  const std::string body = Form1->IdHTTP1.Get(Address);
  std::string stream = efir::ExtractBetween("\"urlStream\":\"", "?token", body);
  for (int pass = 0; pass < kApiSlashPasses; ++pass) stream = efir::ReplaceAll(stream, "\\/", "/");
  const std::string token = efir::ExtractBetween("?token=", "\",\"format", body);
  return RequireStreamAddress(stream, Address) + "?token=" + token;
}

std::string ResolveFlvPortalUrl(const std::string& Address) {
  efir::HttpClient& http = Form1->IdHTTP2;
  const std::string id = efir::ExtractBetween("/stream/", ".mp3@", Address);
  const std::string page = http.Get(services.FlvPortal + "/play/" + id + "/translation");
  const std::string serverTime = efir::ExtractBetween("servertime: '", "'", page);
  const std::int64_t now = LocalClockSeconds();
  const std::string hostPart = efir::ExtractBetween("http://", ".mp3@", Address);
  const std::string startAt = std::to_string(efir::StrToInt64(serverTime) + kStartOffset);

  const std::string url = services.FlvPortal + "/player_xml.html?startat=" + startAt +
                          "&type=full&rnd=" + RandomDecimalParam() + "&v=3&time=" +
                          std::to_string(now) + "&station=4000";
  const std::string hash = ExtractStreamHash(http.Get(url));
  if (hash.empty()) NoStreamAddress(url);
  return "http://" + hostPart + "/" + startAt + "?format=flv&hash=" + hash;
}

bool IsPortalApiAddress(const std::string& Address) {
  return Address.find(PortalApiMarker()) != std::string::npos;
}

std::string ExtractStreamHash(const std::string& Text) {
  return efir::ExtractBetween("hash=", "\"", Text);
}

std::string RandomDecimalParam() {
  efir::Randomize();
  std::string param = "0%2E";
  for (int i = 0; i < 4; ++i) param += std::to_string(efir::Random(999) + 1000);
  return param;
}

void SetRadioServicesForTests(const TRadioServices& value) { services = value; }

void ResetRadioServicesForTests() { services = {kStationService, kFlvPortal, kPortalApi}; }
