// Fetches what an address holds into a memory stream through WinInet, bypassing the cache;
// for pictures the program shows straight from the network.
//
//   TMemoryStream data;
//   DownloadToStream("http://host/picture.png", data);   // Exception when it cannot be opened
#pragma once

#include <string>

#include "framework/streams.h"

// Appends the answer's body to `Stream` from position 0, whatever the answer's status.
void DownloadToStream(const std::string& Address, TStream& Stream);
