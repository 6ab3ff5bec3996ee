#include "net/http_client.h"

#include <winsock2.h>
#include <windows.h>

#include <curl/curl.h>

#include <exception>
#include <memory>
#include <string_view>
#include <vector>

namespace efir {
namespace {

// A loop of redirects ends after this many.
constexpr long kMaxRedirects = 15;

struct CurlCleanup {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;
using Slist = std::unique_ptr<curl_slist, SlistFree>;

Slist append(Slist list, const char* line) {
  curl_slist* longer = curl_slist_append(list.get(), line);
  if (!longer) throw std::bad_alloc();
  list.release();
  return Slist(longer);
}

// What one request collects. Its callbacks run on the worker thread and must not throw
// into the transfer library: a failure is kept and raised once the transfer is over.
struct Transfer {
  std::string body;
  std::string statusLine;  // of the last answer, when redirects were followed
  std::exception_ptr failure;
  char error[CURL_ERROR_SIZE] = {};

  static size_t onBody(char* data, size_t size, size_t count, void* self) noexcept {
    auto* t = static_cast<Transfer*>(self);
    try {
      t->body.append(data, size * count);
      return size * count;
    } catch (...) {
      t->failure = std::current_exception();
      return 0;
    }
  }

  static size_t onHeader(char* data, size_t size, size_t count, void* self) noexcept {
    auto* t = static_cast<Transfer*>(self);
    std::string_view line(data, size * count);
    try {
      if (line.substr(0, 5) == "HTTP/") {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        t->statusLine = line;
      }
      return size * count;
    } catch (...) {
      t->failure = std::current_exception();
      return 0;
    }
  }
};

struct PerformJob {
  CURL* curl;
  CURLcode result = CURLE_FAILED_INIT;

  static DWORD WINAPI run(void* self) {
    auto* job = static_cast<PerformJob*>(self);
    job->result = curl_easy_perform(job->curl);
    return 0;
  }
};

// The worker thread is always waited for, even when a message handler lets an exception
// through: the transfer uses the caller's stack.
struct WorkerThread {
  HANDLE handle;
  ~WorkerThread() {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
  }
};

// Handles the messages waiting in this thread's queue. A quit request is kept for the message
// loop it belongs to.
void handleMessages(bool& quit, WPARAM& quitCode) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = msg.wParam;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Runs the transfer on a worker thread while this thread keeps handling its messages. The
// transfer's own time-outs bound the wait.
CURLcode performHandlingMessages(CURL* curl) {
  PerformJob job{curl};
  HANDLE thread = CreateThread(nullptr, 0, &PerformJob::run, &job, 0, nullptr);
  if (!thread) return curl_easy_perform(curl);
  WorkerThread worker{thread};
  bool quit = false;
  WPARAM quitCode = 0;
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjectsEx(1, &worker.handle, INFINITE, QS_ALLINPUT,
                                             MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) break;  // the transfer is over (or the wait failed)
    handleMessages(quit, quitCode);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return job.result;
}

void initialiseOnce() {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK) throw EHttpError(curl_easy_strerror(initialised), 0);
}

// Cookies set by any answer count, a failed one's too.
std::vector<std::string> cookiesOf(CURL* curl) {
  std::vector<std::string> cookies;
  curl_slist* list = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_COOKIELIST, &list) != CURLE_OK) return cookies;
  Slist owned(list);
  for (curl_slist* item = list; item; item = item->next) cookies.push_back(item->data);
  return cookies;
}

void raiseUnlessAnswered(CURL* curl, CURLcode result, const Transfer& transfer) {
  if (transfer.failure) std::rethrow_exception(transfer.failure);
  if (result != CURLE_OK)
    throw EHttpError(*transfer.error ? transfer.error : curl_easy_strerror(result), 0);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 200 && status <= 299) return;
  throw EHttpError(
      transfer.statusLine.empty() ? "HTTP " + std::to_string(status) : transfer.statusLine,
      static_cast<int>(status));
}

}  // namespace

HttpClient::HttpClient() { initialiseOnce(); }

std::string HttpClient::Get(const std::string& url) {
  CurlHandle curl(curl_easy_init());
  if (!curl) throw EHttpError("Cannot start an HTTP request", 0);
  CURL* c = curl.get();
  Transfer transfer;
  Slist headers = append(append(nullptr, "Content-Type: text/html"), "Accept: text/html, */*");
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  if (!UserAgent.empty()) curl_easy_setopt(c, CURLOPT_USERAGENT, UserAgent.c_str());
  // No proxy unless the program sets one: the environment's proxy settings do not apply.
  curl_easy_setopt(c, CURLOPT_PROXY, "");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, FollowRedirects ? 1L : 0L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (ConnectTimeout > 0)
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeout));
  if (ReadTimeout > 0) {
    // A stall is a stretch without a byte; the transfer library counts it in whole seconds.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>((ReadTimeout + 999) / 1000));
  }
  curl_easy_setopt(c, CURLOPT_COOKIEFILE, "");  // the cookie engine, with no file
  for (const std::string& cookie : cookies_) curl_easy_setopt(c, CURLOPT_COOKIELIST, cookie.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, transfer.error);

  CURLcode result = performHandlingMessages(c);
  cookies_ = cookiesOf(c);
  raiseUnlessAnswered(c, result, transfer);
  return std::move(transfer.body);
}

}  // namespace efir
