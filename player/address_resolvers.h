// Station addresses that name a stream only indirectly: a radio service's station ("...$"), a
// video portal's broadcast ("...@") and a portal's API address (one holding the portal's host
// followed by "/api"). Before such a station plays, its resolver asks the service for the
// stream address, with the main window's HTTP clients on the GUI thread (the windows keep
// handling messages meanwhile).
//
//   if (address.ends_with('$')) address = ResolveStationServiceUrl(address);
//   if (IsPortalApiAddress(CurrentUrl)) CurrentUrl = ResolvePortalApiUrl(CurrentUrl);
//
// A resolver raises EHttpError when its service cannot be asked, and Exception when the
// service's answer holds no stream address, so that nothing plays a wrong address; a portal
// page whose server time is not a number raises the conversion error.
#pragma once

#include <string>

// The station is what follows the service's host and "/", up to the "$".
std::string ResolveStationServiceUrl(const std::string& Address);
// "http://host/path/stream/ID.mp3@": the broadcast ID on that host.
std::string ResolveFlvPortalUrl(const std::string& Address);
std::string ResolvePortalApiUrl(const std::string& Address);

// Whether the address holds the portal API marker: the portal's host followed by "/api".
bool IsPortalApiAddress(const std::string& Address);

// The text between "hash=" and the next double quote.
std::string ExtractStreamHash(const std::string& Text);
// "0%2E" followed by four random numbers of 1000..1998, freshly seeded.
std::string RandomDecimalParam();

// Where the three services answer: "http://host[:port]", without a trailing "/". Special
// station addresses name the same hosts.
struct TRadioServices {
  std::string StationService;
  std::string FlvPortal;
  std::string PortalApi;
};
// For tests: the services at other addresses (the loopback server); Reset restores them.
void SetRadioServicesForTests(const TRadioServices& services);
void ResetRadioServicesForTests();
