#include "download/web_download.h"

#include <shellapi.h>
#include <wininet.h>

#include <iterator>

#include "download/bscb.h"
#include "download/inet_handle.h"
#include "download/url.h"
#include "download/web_parser.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/files.h"
#include "framework/io_error.h"
#include "framework/text_encoding.h"

using efir::text::fromAnsi;
using efir::text::toAnsi;

namespace {

// The GUI thread's COM apartment, for as long as the program runs.
struct ComApartment {
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
} comApartment;

constexpr const wchar_t* kKnownProtocols[] = {
    L"about", L"cdl",        L"dvd",      L"file",   L"ftp",      L"gopher",  L"http",    L"ipp",
    L"its",   L"javascript", L"local",    L"mailto", L"mk",       L"msdaipp", L"ms-help", L"ms-its",
    L"mso",   L"res",        L"sysimage", L"tv",     L"vbscript", L"via",     L"https"};

struct ClearOnExit {
  bool& flag;
  ~ClearOnExit() { flag = false; }
};

// Characters a file name cannot hold become "_".
std::wstring safeFileName(std::wstring name) {
  for (wchar_t& c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'_';
  return name;
}

}  // namespace

TCustomWebDownload::TCustomWebDownload(TComponent* AOwner) : TComponent(AOwner) {
  AdditionalHeader.Add("Content-Type: application/x-www-form-BindInfoFd ");
  efir::FormatSettings().TimeSeparator = '_';
  // Built once, before any UserAgent can be set: the parentheses stay empty.
  userAgentHeader_ =
      "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)(" + UserAgent + ")\r\n";
}

TCustomWebDownload::~TCustomWebDownload() {
  if (ProxySettings.AutoLoadProxy) efir::SwitchProxy("", "");
}

void TCustomWebDownload::Loaded() {
  TComponent::Loaded();
  if (TimeOut == 0) TimeOut = 2147483647;
  if (ProxySettings.AutoLoadProxy && !ProxySettings.Server.empty())
    efir::SwitchProxy(userAgentHeader_,
                      ProxySettings.Server + ":" + std::to_string(ProxySettings.Port));
}

void TCustomWebDownload::DownloadUrlList(const TStringList& Urls, const TStringList& FileNames) {
  stopAll_ = false;
  for (int i = 0; i < Urls.Count(); ++i) {
    if (Urls[i].empty() || stopAll_) continue;
    std::string name = i < FileNames.Count() ? FileNames[i] : "";
    DownloadUrl(fromAnsi(Urls[i]), fromAnsi(name), {});
  }
  if (OpenDownloadFolder) OpenFolder(DownloadFolder);
}

bool TCustomWebDownload::DownloadUrl(const std::wstring& url, const std::wstring& fileName,
                                     const std::wstring& folder) {
  if (!EnterCall()) return false;
  ClearOnExit leave{running_};

  BeginDownload();
  if (!PrepareDownload(url, fileName, folder)) return false;
  HRESULT result = RunTransfer(TDownloadKind::Moniker);
  try {
    while (activeConnections_ > 0 && !cancel_)
      WaitForDownload(completionEvent_->handle(), startTick_, TimeOut);
  } catch (...) {
    DoError(E_FAIL, "ProcessEvents fails to wait until complete.");
    throw;
  }
  FinishDownload();
  return result == S_OK;
}

HRESULT TCustomWebDownload::DownloadUrlToFile(const std::wstring& url) {
  if (!EnterCall()) return E_FAIL;
  ClearOnExit leave{running_};

  BeginDownload();
  if (!PrepareDownload(url, {}, {})) return E_FAIL;
  HRESULT result = RunTransfer(TDownloadKind::ToFile);
  EndFileDownload();
  FinishDownload();
  return result;
}

bool TCustomWebDownload::EnterCall() {
  if (running_) {
    DoError(E_FAIL, "A download is already under way.");
    return false;
  }
  running_ = true;
  return true;
}

HRESULT TCustomWebDownload::RunTransfer(TDownloadKind kind) {
  // The platform may still hold the object after the transfer: give back our reference only.
  auto* transfer = new TBSCB(this, kind);
  struct Release {
    TBSCB* transfer;
    ~Release() {
      transfer->Detach();
      transfer->Release();
    }
  } release{transfer};
  transfer->Run();
  return transfer->Result();
}

// Only Busy is asked: an OnTerminate handler, which is where cancelling is asked for, runs
// after its binding has stopped, when the state no longer says busy.
void TCustomWebDownload::CancelAll() {
  if (!busy_) return;
  stopAll_ = true;
  cancel_ = true;
  Application.ProcessMessages();
}

bool TCustomWebDownload::OpenFolder(const std::wstring& Folder) {
  if (DownloadMethod != dmFile) return false;
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"explore", Folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return true;
  DoError(static_cast<int>(result), "Error while openning folder");
  return false;
}

bool TCustomWebDownload::WaitForDownload(HANDLE event, DWORD startTick, int timeOut) {
  DWORD limit = timeOut > 0 ? static_cast<DWORD>(timeOut) : INFINITE;
  // Sent messages wake the wait too: other threads send theirs synchronously.
  DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, limit, QS_ALLINPUT);
  if (woken == WAIT_OBJECT_0) return true;
  if (woken == WAIT_OBJECT_0 + 1) {
    Application.ProcessMessages();
    if (timeOut > 0 && GetTickCount() - startTick > static_cast<DWORD>(timeOut))
      DoError(static_cast<int>(GetLastError()), "Error: Time Out.");
    return false;
  }
  DWORD code = GetLastError();
  DoError(static_cast<int>(code), efir::SystemErrorMessage(code));
  return false;
}

void TCustomWebDownload::BeginDownload() {
  busy_ = true;
  renamed_ = false;
  cancel_ = false;
  fileNameAndPath_.clear();
  DownloadFolder.clear();
  extension_.clear();
  FileName.clear();
  Url.clear();
  SetState(sBusy);
  startTick_ = GetTickCount();
  ++activeConnections_;
  completionEvent_ = std::make_unique<efir::ManualEvent>();
}

bool TCustomWebDownload::PrepareDownload(const std::wstring& url, const std::wstring& fileName,
                                         const std::wstring& folder) {
  // A refused URL still ends its attempt: counted out, completed, ready.
  auto refuse = [this] {
    CountOut();
    FinishDownload();
    return false;
  };
  if (url.empty()) return refuse();
  Url = NormalizeUrl(url);
  if (ValidateUrl && !IsUrlReachable(Url)) return refuse();
  if (DownloadMethod == dmFile) {
    DownloadFolder = PrepareFolder(folder);
    if (DownloadFolder.empty()) return refuse();
    FileName = fileName.empty() ? FileNameFromUrl(Url) : fileName;
    if (!FileName.empty() && efir::FileExists(toAnsi(DownloadFolder + FileName))) {
      TFileExistsOption action = FileExistsOption;
      std::wstring newName;
      Raise(OnFileExists, action, DownloadFolder + FileName, newName);
      switch (action) {
        case feOverWrite:
          BindF.Include(TBindF::GetNewestVersion);
          break;
        case feSkip:
          return refuse();
        case feRename:
          FileName = newName.empty() ? TimeStampedName(FileName) : newName;
          renamed_ = true;
          break;
      }
    }
  }
  return true;
}

std::wstring TCustomWebDownload::NormalizeUrl(const std::wstring& url) const {
  // Only a scheme at the start counts: a host or path that merely contains a protocol's name
  // ("restream.ru", "tv.host") still needs one.
  size_t colon = url.find(L':');
  if (colon != std::wstring::npos) {
    std::wstring scheme = url.substr(0, colon);
    for (const wchar_t* known : kKnownProtocols)
      if (CompareStringOrdinal(scheme.c_str(), -1, known, -1, TRUE) == CSTR_EQUAL) return url;
  }
  return L"http://" + url;
}

bool TCustomWebDownload::IsUrlReachable(const std::wstring& url) {
  TUrl probe;
  if (probe.IsReachable(toAnsi(url))) return true;
  DWORD code = GetLastError();
  DoError(static_cast<int>(code), efir::SystemErrorMessage(code) + " " + toAnsi(url));
  return false;
}

std::wstring TCustomWebDownload::PrepareFolder(const std::wstring& folder) {
  std::wstring result = folder.empty() ? fromAnsi(efir::ProgramFolder()) + L"Downloads\\" : folder;
  if (result.back() != L'\\' && result.back() != L'/') result += L'\\';
  if (!efir::DirectoryExists(toAnsi(result)) && !CreateDirectoryW(result.c_str(), nullptr)) {
    DWORD code = GetLastError();
    DoError(static_cast<int>(code),
            efir::SystemErrorMessage(code) + " while creating download folder");
  }
  return result;
}

std::wstring TCustomWebDownload::FileNameFromUrl(const std::wstring& url) const {
  if (DownloadMethod != dmFile) return {};
  // The document part of the path: query and bookmark never become part of a file name.
  TUrl parts;
  parts.Parse(toAnsi(url));
  return safeFileName(fromAnsi(parts.Document));
}

void TCustomWebDownload::FinishDownload() {
  Raise(OnComplete, this, fileNameAndPath_, FileName, DownloadFolder, extension_,
        activeConnections_);
  SetState(sReady);
}

void TCustomWebDownload::EndFileDownload() {
  if (OpenDownloadFolder) OpenFolder(DownloadFolder);
  if (activeConnections_ == 0) busy_ = false;
  SetState(sStopped);
}

void TCustomWebDownload::CountOut() {
  if (activeConnections_ > 0) --activeConnections_;
  if (activeConnections_ > 0) return;
  busy_ = false;
  if (completionEvent_) completionEvent_->Set();
}

std::wstring TCustomWebDownload::TimeStampedName(const std::wstring& name) {
  return fromAnsi(efir::TimeToStr(efir::Now())) + L"_" + name;
}

void TCustomWebDownload::SetState(TState state) {
  state_ = state;
  Raise(OnStateChange, state);
}

void TCustomWebDownload::SetFileParts(const std::wstring& path) {
  fileNameAndPath_ = path;
  std::string ansi = toAnsi(path);
  FileName = fromAnsi(efir::ExtractFileName(ansi));
  DownloadFolder = fromAnsi(efir::ExtractFilePath(ansi));
  extension_ = fromAnsi(efir::ExtractFileExt(ansi));
}

TWebMultiDownload::TWebMultiDownload(TComponent* AOwner) : TCustomWebDownload(AOwner) {
  for (TStringList* list : {&documents_, &images_, &links_}) {
    list->SetSorted(true);
    list->SetCaseSensitive(false);
    list->SetDuplicates(dupIgnore);
  }
  parser_ = new TWebParser(this);
}

namespace efir {

bool SwitchProxy(const std::string& agent, const std::string& proxy) {
  InetHandle session(
      InternetOpenW(text::fromAnsi(agent).c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return false;
  std::wstring server = text::fromAnsi(proxy);
  wchar_t bypass[] = L"<local>";
  INTERNET_PER_CONN_OPTIONW options[3] = {};
  options[0].dwOption = INTERNET_PER_CONN_FLAGS;
  options[0].Value.dwValue = PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY;
  options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[1].Value.pszValue = server.data();
  options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
  options[2].Value.pszValue = bypass;
  INTERNET_PER_CONN_OPTION_LISTW list = {};
  list.dwSize = sizeof(list);
  list.pszConnection = nullptr;
  list.dwOptionCount = static_cast<DWORD>(std::size(options));
  list.pOptions = options;
  bool set =
      InternetSetOptionW(session.get(), INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list));
  return set && InternetSetOptionW(session.get(), INTERNET_OPTION_REFRESH, nullptr, 0);
}

}  // namespace efir
