#include "audio/stream_source.h"

#include <curl/curl.h>

#include <mutex>
#include <optional>

#include "audio/icy_parser.h"
#include "audio/playlist.h"

namespace audio {
namespace {

constexpr std::size_t kPlaylistLimit = 64 * 1024;
constexpr int kPlaylistDepth = 2;  // a playlist may name another one, once
constexpr int kPollMs = 20;        // how soon a cancelled or held-back download notices

void initCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlList {
  curl_slist* list = nullptr;
  ~CurlList() { curl_slist_free_all(list); }
  void add(const char* line) { list = curl_slist_append(list, line); }
};

struct Outcome {
  Error error = Error::None;
  bool gotAudio = false;
};

// One HTTP request and what its answer turns out to be: the stream, or a playlist to read.
class Transfer {
 public:
  Transfer(std::string url, const NetSettings& settings, Receiver& receiver, bool playlistOk)
      : url_(std::move(url)), settings_(settings), receiver_(receiver), playlistOk_(playlistOk) {}

  Outcome run();
  bool isPlaylist() const { return body_ == Body::Playlist; }
  const std::string& playlist() const { return playlist_; }

 private:
  enum class Body { Unknown, Stream, Playlist };

  // libcurl is C: nothing may be thrown through it. A failure ends the transfer.
  static size_t onHeader(char* data, size_t size, size_t count, void* self) {
    try {
      return static_cast<Transfer*>(self)->header(std::string_view(data, size * count)) ? size * count : 0;
    } catch (...) {
      static_cast<Transfer*>(self)->failure_ = Error::Unknown;
      return 0;
    }
  }
  static size_t onWrite(char* data, size_t size, size_t count, void* self) {
    try {
      return static_cast<Transfer*>(self)->write(reinterpret_cast<std::uint8_t*>(data), size * count);
    } catch (...) {
      static_cast<Transfer*>(self)->failure_ = Error::Unknown;
      return 0;
    }
  }

  bool header(std::string_view line);
  size_t write(const std::uint8_t* data, size_t size);
  void endOfHeaders();
  void decide(Body body);
  void configure(CURL* easy, CurlList& requestHeaders);
  CURLcode pump(CURLM* multi);
  Error resultOf(CURLcode code) const;

  std::string url_;
  const NetSettings& settings_;
  Receiver& receiver_;
  bool playlistOk_;
  CURL* easy_ = nullptr;
  std::vector<std::string> lines_;
  std::string contentType_;
  std::size_t metaint_ = 0;
  bool headersDone_ = false;
  Body body_ = Body::Unknown;
  std::optional<IcySplitter> splitter_;
  std::string playlist_;
  bool gotAudio_ = false;
  bool paused_ = false;
  Error failure_ = Error::None;
  DWORD lastActivity_ = 0;
};

bool Transfer::header(std::string_view line) {
  lastActivity_ = GetTickCount();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/") || line.starts_with("ICY ")) {
    // A new answer: the one before was a redirect.
    lines_.clear();
    headersDone_ = false;
  }
  if (!line.empty()) {
    lines_.emplace_back(line);
    return true;
  }
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 300 && status < 400) return true;
  if (status >= 400) {
    failure_ = Error::Connect;
    return false;
  }
  endOfHeaders();
  return true;
}

void Transfer::endOfHeaders() {
  headersDone_ = true;
  for (const std::string& line : lines_) {
    if (auto type = headerValue(line, "Content-Type")) contentType_ = *type;
    if (auto interval = headerValue(line, "icy-metaint")) metaint_ = std::strtoul(interval->c_str(), nullptr, 10);
  }
  char* effective = nullptr;
  curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &effective);
  if (effective) url_ = effective;
  if (audio::isPlaylist(url_, contentType_, ""))
    decide(Body::Playlist);
  else if (contentType_.empty() || contentType_.starts_with("audio/"))
    decide(Body::Stream);
  // Otherwise the first bytes tell.
}

void Transfer::decide(Body body) {
  body_ = body;
  if (body == Body::Stream) {
    splitter_.emplace(metaint_);
    receiver_.headers(lines_);
  }
}

size_t Transfer::write(const std::uint8_t* data, size_t size) {
  lastActivity_ = GetTickCount();
  if (body_ == Body::Unknown)
    decide(audio::isPlaylist(url_, contentType_, std::string_view(reinterpret_cast<const char*>(data), size))
               ? Body::Playlist
               : Body::Stream);
  if (body_ == Body::Playlist) {
    if (!playlistOk_ || playlist_.size() + size > kPlaylistLimit) {
      failure_ = Error::Format;
      return 0;
    }
    playlist_.append(reinterpret_cast<const char*>(data), size);
    return size;
  }
  if (receiver_.cancelled()) {
    failure_ = Error::Ended;
    return 0;
  }
  if (!receiver_.wantsMore()) {
    paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  splitter_->feed(
      data, size,
      [&](const std::uint8_t* audio, std::size_t n) {
        gotAudio_ = true;
        receiver_.audio(audio, n);
      },
      [&](std::string text) { receiver_.meta(std::move(text)); });
  if (receiver_.cancelled()) {
    failure_ = Error::Ended;
    return 0;
  }
  return size;
}

void Transfer::configure(CURL* easy, CurlList& requestHeaders) {
  requestHeaders.add("Icy-MetaData: 1");
  curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, requestHeaders.list);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.timeoutMs));
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 4096L);
  // "" switches off the proxy variables of the environment as well.
  curl_easy_setopt(easy, CURLOPT_PROXY, settings_.proxy.c_str());
  if (!settings_.agent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, settings_.agent.c_str());
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onWrite);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
}

Error Transfer::resultOf(CURLcode code) const {
  if (failure_ != Error::None) return failure_;
  switch (code) {
    case CURLE_OK:
      return headersDone_ ? Error::None : Error::Format;
    case CURLE_OPERATION_TIMEDOUT:
      return Error::Timeout;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
      return Error::Format;
    default:
      // A server that drops a stream it was sending has ended it.
      return gotAudio_ ? Error::None : Error::Connect;
  }
}

// Drives the transfer until it ends, is cancelled, or has been silent for the time-out while
// not held back by a full receiver.
CURLcode Transfer::pump(CURLM* multi) {
  lastActivity_ = GetTickCount();
  for (;;) {
    int running = 0;
    curl_multi_perform(multi, &running);
    if (!running) {
      CURLcode code = CURLE_OK;
      int left = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi, &left))
        if (msg->msg == CURLMSG_DONE) code = msg->data.result;
      return code;
    }
    if (receiver_.cancelled()) {
      failure_ = Error::Ended;
      return CURLE_ABORTED_BY_CALLBACK;
    }
    if (paused_ && receiver_.wantsMore()) {
      paused_ = false;
      lastActivity_ = GetTickCount();
      curl_easy_pause(easy_, CURLPAUSE_CONT);
      continue;
    }
    if (!paused_ && GetTickCount() - lastActivity_ > settings_.timeoutMs) {
      failure_ = Error::Timeout;
      return CURLE_OPERATION_TIMEDOUT;
    }
    curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
  }
}

Outcome Transfer::run() {
  // Radio servers of the ICY kind answer "ICY 200 OK": taken as an HTTP/1.0 success.
  CurlList aliases;
  aliases.add("ICY 200");
  CurlList requestHeaders;
  easy_ = curl_easy_init();
  CURLM* multi = curl_multi_init();
  CURLcode code = CURLE_OUT_OF_MEMORY;
  if (easy_ && multi) {
    configure(easy_, requestHeaders);
    curl_easy_setopt(easy_, CURLOPT_HTTP200ALIASES, aliases.list);
    curl_multi_add_handle(multi, easy_);
    code = pump(multi);
    curl_multi_remove_handle(multi, easy_);
  }
  curl_easy_cleanup(easy_);
  curl_multi_cleanup(multi);
  easy_ = nullptr;
  return {code == CURLE_OUT_OF_MEMORY ? Error::Unknown : resultOf(code), gotAudio_};
}

Outcome fetch(const std::string& url, const NetSettings& settings, Receiver& receiver, int depth) {
  Transfer transfer(url, settings, receiver, settings.followPlaylists && depth < kPlaylistDepth);
  Outcome outcome = transfer.run();
  if (outcome.error != Error::None || !transfer.isPlaylist()) return outcome;
  // The first listed address that answers with a stream is the stream.
  outcome.error = Error::Format;
  for (const std::string& entry : playlistEntries(transfer.playlist())) {
    outcome = fetch(entry, settings, receiver, depth + 1);
    if (outcome.gotAudio || receiver.cancelled()) break;
  }
  return outcome;
}

}  // namespace

Error download(const std::string& url, const NetSettings& settings, Receiver& receiver) {
  initCurl();
  return fetch(url, settings, receiver, 0).error;
}

}  // namespace audio
