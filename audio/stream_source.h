// The download side of an internet stream: fetches an address over HTTP (libcurl), accepts
// "ICY 200 OK" answers, follows redirects and, when asked, playlist addresses, separates the
// ICY metadata from the audio, and holds back while the receiver is full.
//
//   Error why = download(url, settings, receiver);   // returns when the download has ended
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio.h"

namespace audio {

struct NetSettings {
  std::string agent;         // empty: libcurl's own
  std::string proxy;         // empty: a direct connection (proxy variables of the
                             // environment are ignored too)
  DWORD timeoutMs = 17000;   // to connect, and without data while not held back
  bool followPlaylists = false;
};

// What the download hands on, on its own thread.
class Receiver {
 public:
  virtual ~Receiver() = default;
  // The status and header lines of the answer that carries the stream.
  virtual void headers(const std::vector<std::string>& lines) = 0;
  virtual void audio(const std::uint8_t* data, std::size_t size) = 0;
  virtual void meta(std::string text) = 0;
  // False while the receiver holds as much as it wants: the download waits.
  virtual bool wantsMore() = 0;
  // True once the download should end.
  virtual bool cancelled() = 0;
};

// Error::None when the server ended the stream, otherwise why the download failed.
Error download(const std::string& url, const NetSettings& settings, Receiver& receiver);

}  // namespace audio
