// The callback object of one transfer of the download component: it binds the URL, answers
// every callback of the URL-moniker service (request headers, response, progress, data,
// authentication, security), keeps the data in memory and, for file downloads, writes it to
// the target file, and reports everything through the component's events.
//
//   TBSCB* transfer = new TBSCB(component, kind);   // one reference, the component's
//   transfer->Run();                                 // returns when the transfer has ended
//   HRESULT result = transfer->Result();
//   transfer->Detach();
//   transfer->Release();
//
// The object is reference-counted: the platform may hold it for a while after the transfer.
// Every callback runs on the thread that called Run, from the messages its wait dispatches;
// no exception leaves a callback (it is reported through OnError and the transfer aborted).
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <servprov.h>
#include <urlmon.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "download/download_options.h"
#include "download/manual_event.h"
#include "framework/component.h"
#include "framework/streams.h"
#include "framework/string_list.h"
#include "framework/timer.h"
#include "framework/com_ptr.h"

class TCustomWebDownload;

// The component's settings as they stood when the transfer started.
struct TInfoData {
  TStringList AdditionalHeader;
  DWORD BindFValue = 0;
  DWORD BindF2Value = 0;
  DWORD BindInfoFValue = 0;
  DWORD BindVerbValue = 0;
  DWORD CodePageValue = 0;
  std::string CustomVerb;
  bool InheritHandle = false;
  std::wstring DownloadFolder;
  std::string ExtraInfo;
  std::wstring FileName;
  std::string PostData;
  std::string PutFileName;
  int64_t RangeBegin = 0;
  int64_t RangeEnd = 0;
  int TimeOut = 0;
  std::wstring Url;
  TDownloadMethod DownloadMethod = dmFile;
  TFileExistsOption FileExistsOption = feOverWrite;
  bool Renamed = false;
};

class TBSCB : public TObject,
              public IBindStatusCallbackEx,
              public IHttpNegotiate3,
              public IHttpSecurity,
              public ICodeInstall,
              public IServiceProvider,
              public IPropertyNotifySink,
              public IBindHost,
              public IMonikerProp,
              public IAuthenticateEx {
 public:
  TBSCB(TCustomWebDownload* owner, TDownloadKind kind);

  // Carries out the transfer; returns when it has ended.
  void Run();
  // S_OK when the resource arrived in full, else the failure the transfer ended with.
  HRESULT Result() const { return result_; }
  // The component lets go: callbacks that still arrive touch it no more.
  void Detach() { detached_ = true; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IBindStatusCallback(Ex)
  STDMETHODIMP OnStartBinding(DWORD dwReserved, IBinding* pib) override;
  STDMETHODIMP GetPriority(LONG* pnPriority) override;
  STDMETHODIMP OnLowResource(DWORD reserved) override;
  STDMETHODIMP OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                          LPCWSTR szStatusText) override;
  STDMETHODIMP OnStopBinding(HRESULT hresult, LPCWSTR szError) override;
  STDMETHODIMP GetBindInfo(DWORD* grfBINDF, BINDINFO* pbindinfo) override;
  STDMETHODIMP OnDataAvailable(DWORD grfBSCF, DWORD dwSize, FORMATETC* pformatetc,
                               STGMEDIUM* pstgmed) override;
  STDMETHODIMP OnObjectAvailable(REFIID riid, IUnknown* punk) override;
  STDMETHODIMP GetBindInfoEx(DWORD* grfBINDF, BINDINFO* pbindinfo, DWORD* grfBINDF2,
                             DWORD* pdwReserved) override;
  // IHttpNegotiate, 2 and 3
  STDMETHODIMP BeginningTransaction(LPCWSTR szURL, LPCWSTR szHeaders, DWORD dwReserved,
                                    LPWSTR* pszAdditionalHeaders) override;
  STDMETHODIMP OnResponse(DWORD dwResponseCode, LPCWSTR szResponseHeaders, LPCWSTR szRequestHeaders,
                          LPWSTR* pszAdditionalRequestHeaders) override;
  STDMETHODIMP GetRootSecurityId(BYTE* pbSecurityId, DWORD* pcbSecurityId,
                                 DWORD_PTR dwReserved) override;
  STDMETHODIMP GetSerializedClientCertContext(BYTE** ppbCert, DWORD* pcbCert) override;
  // IWindowForBindingUI, shared by IHttpSecurity and ICodeInstall
  STDMETHODIMP GetWindow(REFGUID rguidReason, HWND* phwnd) override;
  STDMETHODIMP OnSecurityProblem(DWORD dwProblem) override;
  STDMETHODIMP OnCodeInstallProblem(ULONG ulStatusCode, LPCWSTR szDestination, LPCWSTR szSource,
                                    DWORD dwReserved) override;
  // IServiceProvider
  STDMETHODIMP QueryService(REFGUID guidService, REFIID riid, void** ppv) override;
  // IPropertyNotifySink
  STDMETHODIMP OnChanged(DISPID dispID) override;
  STDMETHODIMP OnRequestEdit(DISPID dispID) override;
  // IBindHost
  STDMETHODIMP CreateMoniker(LPOLESTR szName, IBindCtx* pBC, IMoniker** ppmk,
                             DWORD dwReserved) override;
  STDMETHODIMP MonikerBindToStorage(IMoniker* pMk, IBindCtx* pBC, IBindStatusCallback* pBSC,
                                    REFIID riid, void** ppvObj) override;
  STDMETHODIMP MonikerBindToObject(IMoniker* pMk, IBindCtx* pBC, IBindStatusCallback* pBSC,
                                   REFIID riid, void** ppvObj) override;
  // IMonikerProp
  STDMETHODIMP PutProperty(MONIKERPROPERTY mkp, LPCWSTR val) override;
  // IAuthenticate(Ex)
  STDMETHODIMP Authenticate(HWND* phwnd, LPWSTR* pszUsername, LPWSTR* pszPassword) override;
  STDMETHODIMP AuthenticateEx(HWND* phwnd, LPWSTR* pszUsername, LPWSTR* pszPassword,
                              AUTHENTICATEINFO* pauthinfo) override;

  // The name a Content-Disposition header value gives, without any folder part; empty when
  // it names none.
  static std::wstring DispositionFileName(const std::wstring& header);
  // The extra request header text: the user-agent line, a Range line when a range is asked
  // for, and the additional header lines.
  static std::wstring RequestHeaders(const std::string& userAgentHeader, int64_t rangeBegin,
                                     int64_t rangeEnd, const TStringList& additional);

 private:
  ~TBSCB() override;

  void TakeSnapshot();
  void Prepare();
  void BindAndWait();
  bool Step(HRESULT hr, const char* success, const char* failure);
  void DownloadToFile();
  void DownloadToCacheFile();
  void SetFileNames();
  std::wstring TargetPath();
  // The binding has stopped: final result, reports, state, end of the attempt.
  void Stop(HRESULT result, LPCWSTR error);
  // Counts the attempt out of the component, once, whichever way it ends.
  void EndAttempt(HRESULT result);
  void Finish();
  void Abort();
  void OnTimeOut();
  // What an existing target file means for this request; false when it is to be skipped.
  bool FileExistsRule();
  void ProgressTexts(ULONG progress, ULONG max, std::string& downloaded, std::string& speed,
                     std::string& remaining, std::string& percent);
  HRESULT ReadData();
  void Store(const std::vector<uint8_t>& block);
  void OpenTargetFile();
  void ReportBindResult();
  void FillBindInfo(BINDINFO* info);
  bool QueryHttpNumber(DWORD level, DWORD& value);
  bool QueryHttpText(DWORD level, std::wstring& text);
  // Reports a failure through OnError; the transfer then ends with a failure.
  void ReportFailure(HRESULT code, const std::string& text);
  // Raises one of the component's events, unless the component has let go.
  template <class Event, class... Args>
  void Fire(Event TCustomWebDownload::*event, Args&&... args);
  bool Cancelled() const;
  // Runs a callback's body: an exception is reported and aborts the transfer.
  template <class Body>
  HRESULT Guarded(HRESULT onException, Body&& body) noexcept;

  std::atomic<ULONG> refCount_{1};
  TCustomWebDownload* Owner;
  TDownloadKind kind_;
  std::unique_ptr<TInfoData> Info;
  efir::ComPtr<IBinding> Binding;
  efir::ComPtr<IBindCtx> BindCtx;
  efir::ComPtr<IMoniker> Moniker;
  efir::ComPtr<IStream> DataStream;
  efir::ComPtr<IBindStatusCallback> PreviousCallback;
  TMemoryStream MemoryStream;
  std::unique_ptr<TFileStream> FileStream;
  int64_t BytesRead = 0;
  std::unique_ptr<TTimer> Timer;
  bool TimedOut = false;
  bool Redirected = false;
  int redirects_ = 0;
  bool resume_ = false;
  DWORD contentLength_ = 0;
  bool contentLengthKnown_ = false;
  HGLOBAL RequestBody = nullptr;
  efir::ManualEvent BindingEvent;
  bool BindingDone = false;
  bool ended_ = false;
  bool detached_ = false;
  HRESULT result_ = E_FAIL;
  HRESULT failure_ = S_OK;  // the first failure reported, if any
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
  int64_t lastElapsed_ = -1;
  std::string elapsedTime_;
};
