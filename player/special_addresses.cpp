#include "player/special_addresses.h"

std::string ResolveStationServiceUrl(const std::string& Address) { return Address; }
std::string ResolveFlvPortalUrl(const std::string& Address) { return Address; }
std::string ResolvePortalApiUrl(const std::string& Address) { return Address; }

bool IsPortalApiAddress(const std::string&) { return false; }
