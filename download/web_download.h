// The download component: fetches the resources named by URLs into files (or into memory)
// through the platform's URL-moniker service, and reports each step through its events.
//
//   auto* d = efir::Construct<TWebMultiDownload>(this);
//   d->OnError = [](int code, const std::string& text) { ... };
//   d->DownloadUrlToFile(L"http://host/logo.png");        // into <program>\Downloads\logo.png
//   d->DownloadUrlList(urls, names);                        // line i of urls into file names[i]
//
// A download call binds asynchronously but returns only when its transfer has ended; until
// then it dispatches this thread's window messages, so timers and clicks run inside the call.
// A download asked for from inside that wait is refused with OnError. Failures reach OnError
// only; nothing is raised to the caller.
//
// Process-wide effects callers must know: creating the component sets the time separator
// to "_", and every download start sets the long time format to "mm:ss.zzz"; code that
// formats times sets what it needs itself.
#pragma once

#include <windows.h>
#include <urlmon.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "download/download_options.h"
#include "download/manual_event.h"
#include "framework/component.h"
#include "framework/streams.h"
#include "framework/string_list.h"

class TBSCB;
class TWebParser;

class TCustomWebDownload : public TComponent {
 public:
  explicit TCustomWebDownload(TComponent* AOwner);
  ~TCustomWebDownload() override;

  // Line i of Urls into the file named on line i of FileNames (which has at least as many
  // lines), in the program folder's "Downloads\". Empty lines are skipped; CancelAll skips
  // the rest of the list.
  void DownloadUrlList(const TStringList& Urls, const TStringList& FileNames);
  // One URL into Folder (empty: "Downloads\") as FileName (empty: named after the URL).
  // True when the resource arrived in full.
  bool DownloadUrl(const std::wstring& Url, const std::wstring& FileName,
                   const std::wstring& Folder);
  // One URL through the platform's download-to-file call: 0, E_FAIL when preparation refused
  // it, or the transfer's failure.
  HRESULT DownloadUrlToFile(const std::wstring& Url);
  // Stops a running list: the transfer under way ends, the remaining lines are skipped.
  void CancelAll();
  bool OpenFolder(const std::wstring& Folder);
  // The URL with "http://" in front unless it starts with a known protocol's scheme.
  std::wstring NormalizeUrl(const std::wstring& url) const;
  // The file name a URL gives (its document, without query or bookmark); empty for a folder.
  std::wstring FileNameFromUrl(const std::wstring& url) const;

  std::string About() const { return "Download component"; }
  void SetAbout(const std::string&) {}
  const std::string& DefaultProtocol() const { return defaultProtocol_; }
  void SetDefaultProtocol(const std::string& value) {
    defaultProtocol_ = value.empty() ? "http://" : value;
  }

  DWORD BindFValue() const { return BindF.Value(kBindFValues); }
  DWORD BindF2Value() const { return BindF2.Value(kBindF2Values); }
  DWORD BindInfoFValue() const { return BindInfoF.Value(kBindInfoFValues); }
  DWORD BindInfoOptionsValue() const { return BindInfoOptions.Value(kBindInfoOptionValues); }
  DWORD BindVerbValue() const { return static_cast<DWORD>(BindVerb); }
  DWORD CodePageValue() const { return kCodePageValues[static_cast<size_t>(CodePage)]; }

  // Published properties.
  TStringList AdditionalHeader;  // each line is sent as a request header
  TOptionSet<TBindF> BindF{TBindF::Asynchronous, TBindF::AsyncStorage, TBindF::GetNewestVersion,
                           TBindF::NoWriteCache, TBindF::PullData};
  TOptionSet<TBindF2> BindF2{TBindF2::ReadDataOver4GB};
  TOptionSet<TBindInfoF> BindInfoF;
  TOptionSet<TBindInfoOption> BindInfoOptions{TBindInfoOption::UseBindInfoOptions,
                                              TBindInfoOption::AllowConnectMessages};
  TBindVerb BindVerb = TBindVerb::Get;
  TCodePageOption CodePage = TCodePageOption::Ansi;
  std::string CustomVerb;
  std::string DefaultUrlFileName = "index.html";
  std::wstring DownloadFolder;
  TDownloadMethod DownloadMethod = dmFile;
  std::string ExtraInfo;
  TFileExistsOption FileExistsOption = feOverWrite;
  std::wstring FileName;
  bool OpenDownloadFolder = false;
  std::string Password;
  std::string UserName;
  std::string PostData;
  TProxySettings ProxySettings;
  std::string PutFileName;
  TRange Range;
  TSecurity Security;
  // Milliseconds without data before a transfer gives up; 0 means no limit (a stored layout's
  // 0 becomes 2147483647 when it has loaded).
  int TimeOut = 0;
  std::wstring Url;
  std::string UserAgent;
  bool UseSystemDownloadFolder = false;
  bool ValidateUrl = false;

  // Run-time state.
  bool Busy() const { return busy_; }
  bool Cancel() const { return cancel_; }
  TState State() const { return state_; }
  int ActiveConnections() const { return activeConnections_; }
  const std::wstring& FileNameAndPath() const { return fileNameAndPath_; }
  const std::wstring& Extension() const { return extension_; }
  const std::string& UserAgentHeader() const { return userAgentHeader_; }

  // Events of the component.
  std::function<void(TState State)> OnStateChange;
  std::function<void(TObject* Sender, const std::wstring& aFileNameAndPath,
                     const std::wstring& aFileName, const std::wstring& aFolderName,
                     const std::wstring& aExtension, int ActiveConnections)>
      OnComplete;
  std::function<void(int ErrorCode, const std::string& stError)> OnError;
  std::function<void(TFileExistsOption& Action, const std::wstring& aFileName,
                     std::wstring& NewFileName)>
      OnFileExists;
  std::function<void(TObject* Sender, HRESULT Res, const std::string& stMessage)> OnConnect;
  std::function<void(TObject* Sender, ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                     ULONG FileSize, const std::wstring& szStatusText,
                     const std::string& Downloaded, const std::string& ElapsedTime,
                     const std::string& Speed, const std::string& RemainingTime,
                     const std::string& Status, const std::string& Percent)>
      OnProgress;
  std::function<void(TObject* Sender, std::vector<uint8_t>& Buffer)> OnDataAvailable;
  std::function<void(TObject* Sender, DWORD grfBSCF, const std::string& Status)>
      OnDataAvailableInfo;

  // Events raised by the callback object of each transfer; by-reference answers come preset.
  std::function<void(TObject* Sender, bool& Cancel, IBinding* Binding)> OnStartBinding;
  std::function<void(TObject* Sender, HRESULT Result, const std::wstring& szError)> OnStopBinding;
  std::function<void(TObject* Sender, TMemoryStream& Stream, HRESULT Result)> OnStreamComplete;
  std::function<void(TObject* Sender, const CLSID& Protocol, DWORD ResultCode,
                     const std::wstring& ResultText, const std::string& stResult)>
      OnGetBindResults;
  std::function<void(TObject* Sender, DWORD& grfBINDF, BINDINFO& BindInfo)> OnGetBindInfo;
  std::function<void(TObject* Sender, DWORD& grfBINDF, BINDINFO& BindInfo, DWORD& grfBINDF2)>
      OnGetBindInfoEx;
  std::function<void(TObject* Sender, const std::wstring& szURL, const std::wstring& szHeaders,
                     std::wstring& AdditionalHeaders, HRESULT& Result)>
      OnBeginningTransaction;
  std::function<void(TObject* Sender, DWORD ResponseCode, const std::wstring& ResponseHeaders,
                     const std::wstring& RequestHeaders, HRESULT& Result)>
      OnResponse;
  std::function<void(TObject* Sender, const std::wstring& FileName, TFileExistsOption& Action)>
      OnResume;
  std::function<void(TObject* Sender, bool& AbortRedirect, const std::wstring& FromUrl,
                     const std::wstring& DestUrl)>
      OnRedirect;
  std::function<void(TObject* Sender, DWORD Problem, const std::string& ProblemText,
                     HRESULT& Result)>
      OnSecurityProblem;
  std::function<void(TObject* Sender, ULONG StatusCode, const std::wstring& Destination,
                     const std::wstring& Source, DWORD Reserved, const std::string& stResult,
                     HRESULT& Result)>
      OnCodeInstallProblem;
  std::function<void(TObject* Sender, const GUID& Reason, HWND& Window, HRESULT& Result)>
      OnGetWindow;
  std::function<void(TObject* Sender, HWND& Window, std::wstring& UserName, std::wstring& Password,
                     HRESULT& Result)>
      OnAuthenticate;
  std::function<void(TObject* Sender, HWND& Window, std::wstring& UserName, std::wstring& Password,
                     const AUTHENTICATEINFO* Info, HRESULT& Result)>
      OnAuthenticateEx;
  std::function<void(TObject* Sender, BYTE* SecurityId, DWORD* SecurityIdSize, DWORD_PTR Reserved,
                     HRESULT& Result)>
      OnGetRootSecurityId;
  std::function<void(TObject* Sender, BYTE** Cert, DWORD* CertSize, HRESULT& Result)>
      OnGetSerializedClientCertContext;
  std::function<void(TObject* Sender, MONIKERPROPERTY Property, const std::wstring& Value,
                     HRESULT& Result)>
      OnPutProperty;
  std::function<void(const IID& Interface, void** Object)> OnQueryInterface;
  std::function<void(TObject* Sender, const GUID& Service, const IID& Interface, void*& Object)>
      OnQueryService;
  std::function<void(TObject* Sender, DWORD ThreadId, const std::wstring& FileName, bool& Cancel)>
      OnTerminate;

  // Raises an event when it is set; the one road every event of the component takes.
  template <class Event, class... Args>
  static void Raise(const Event& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
  }
  void DoError(int code, const std::string& text) { Raise(OnError, code, text); }

  // Waits for `event` while dispatching this thread's messages; true when the event was set.
  bool WaitForDownload(HANDLE event, DWORD startTick, int timeOut);

 protected:
  void Loaded() override;

 private:
  friend class TBSCB;

  // Marks a download call under way; refuses (OnError) one asked for while another runs.
  bool EnterCall();
  void BeginDownload();
  bool PrepareDownload(const std::wstring& url, const std::wstring& fileName,
                       const std::wstring& folder);
  bool IsUrlReachable(const std::wstring& url);
  std::wstring PrepareFolder(const std::wstring& folder);
  HRESULT RunTransfer(TDownloadKind kind);
  void FinishDownload();
  void EndFileDownload();
  void CountOut();
  void SetState(TState state);
  void SetFileParts(const std::wstring& path);
  // The name a renamed target gets: the time (long time format, "_" separators) + "_" + name.
  static std::wstring TimeStampedName(const std::wstring& name);

  std::string defaultProtocol_ = "http://";
  bool busy_ = false;
  bool cancel_ = false;
  bool stopAll_ = false;
  bool running_ = false;
  bool renamed_ = false;
  int activeConnections_ = 0;
  std::wstring fileNameAndPath_;
  std::wstring extension_;
  TState state_ = sReady;
  DWORD startTick_ = 0;
  std::unique_ptr<efir::ManualEvent> completionEvent_;
  std::string userAgentHeader_;
};

class TWebMultiDownload : public TCustomWebDownload {
 public:
  explicit TWebMultiDownload(TComponent* AOwner);

  std::string About() const { return "Multiple download component"; }
  std::wstring BaseUrl;
  int DownloadLevel = 1;
  TMultiDownloadOptions DownloadOptions = doAll;
  bool FromBaseSiteOnly = true;

  // What a walk of a site would collect: the pages, images and links found, each sorted,
  // blind to case, without duplicates. Nothing in this system walks a site, so they stay
  // empty and the OnMulti* events are never raised.
  TStringList& Documents() { return documents_; }
  TStringList& Images() { return images_; }
  TStringList& Links() { return links_; }

  TNotifyEvent OnMultiComplete;
  TNotifyEvent OnMultiGetDocInfo;
  TNotifyEvent OnMultiGetImage;
  TNotifyEvent OnMultiGetLink;
  TNotifyEvent OnMultiGetQueryInfo;
  TNotifyEvent OnMultiStateChange;
  TNotifyEvent OnMultiParseError;
  TNotifyEvent OnMultiBeforeDownload;

 private:
  TStringList documents_;
  TStringList images_;
  TStringList links_;
  TWebParser* parser_ = nullptr;  // owned: freed with the component
};

namespace efir {

// Points the network library's default connection at `proxy` ("host:port"; empty: none),
// with "<local>" bypassed. This changes the setting for every program of the user.
bool SwitchProxy(const std::string& agent, const std::string& proxy);

}  // namespace efir
