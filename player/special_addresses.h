// Station addresses that name a stream only indirectly: a radio service's station ("...$"), a
// video portal's broadcast ("...@") and a portal's API address; each resolver asks its
// service for the stream address to play. The services are not wired in yet: every resolver
// returns the address as given, and no address is taken for a portal API address.
#pragma once

#include <string>

std::string ResolveStationServiceUrl(const std::string& Address);
std::string ResolveFlvPortalUrl(const std::string& Address);
std::string ResolvePortalApiUrl(const std::string& Address);

// Whether the address holds the portal API marker.
bool IsPortalApiAddress(const std::string& Address);
