#include "download/bscb.h"

#include <wininet.h>

#include <cstring>
#include <vector>

#include "download/download_texts.h"
#include "download/web_download.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/io_error.h"
#include "framework/text_encoding.h"

using efir::ComPtr;
using efir::text::fromAnsi;
using efir::text::toAnsi;

namespace {

constexpr ULONG kBlockSize = 64 * 1024;
// A server that keeps redirecting is given up after this many hops.
constexpr int kMaxRedirects = 20;
constexpr wchar_t kHolderParam[] = L"_BSCB_Holder_";

// A text handed to the platform, which frees it with the task allocator.
LPWSTR CoTaskWideCopy(const std::wstring& text) {
  size_t bytes = text.size() * 2 + 2;
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!copy) return nullptr;
  std::memset(copy, 0, bytes);
  std::memcpy(copy, text.data(), text.size() * 2);
  return copy;
}

// A text the platform may leave out.
std::wstring wide(LPCWSTR text) { return text ? std::wstring(text) : std::wstring(); }

LPWSTR CopyOrNone(const std::wstring& text) {
  return text.empty() ? nullptr : CoTaskWideCopy(text);
}

template <class T>
ComPtr<T> share(T* p) {
  if (p) p->AddRef();
  return ComPtr<T>::attach(p);
}

int64_t fileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (int64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace

TBSCB::TBSCB(TCustomWebDownload* owner, TDownloadKind kind) : Owner(owner), kind_(kind) {}

TBSCB::~TBSCB() {
  if (Binding) Binding->Abort();
  if (RequestBody) GlobalFree(RequestBody);
}

template <class Event, class... Args>
void TBSCB::Fire(Event TCustomWebDownload::*event, Args&&... args) {
  if (!detached_) TCustomWebDownload::Raise(Owner->*event, std::forward<Args>(args)...);
}

bool TBSCB::Cancelled() const { return detached_ || Owner->cancel_; }

template <class Body>
HRESULT TBSCB::Guarded(HRESULT onException, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    try {
      Abort();
      ReportFailure(E_FAIL, efir::CurrentExceptionMessage());
    } catch (...) {
      Application.HandleException();
    }
    return onException;
  }
}

// ---- the transfer ---------------------------------------------------------------------

void TBSCB::Run() {
  if (ended_) return;
  HRESULT ole = OleInitialize(nullptr);
  struct OleDone {
    HRESULT hr;
    ~OleDone() {
      if (SUCCEEDED(hr)) OleUninitialize();
    }
  } oleDone{ole};
  TakeSnapshot();
  Prepare();
  switch (kind_) {
    case TDownloadKind::Moniker:
      BindAndWait();
      SetFileNames();
      break;
    case TDownloadKind::ToFile:
      DownloadToFile();
      break;
    case TDownloadKind::ToCacheFile:
      DownloadToCacheFile();
      break;
  }
}

void TBSCB::TakeSnapshot() {
  Info = std::make_unique<TInfoData>();
  TCustomWebDownload& o = *Owner;
  Info->AdditionalHeader = o.AdditionalHeader;
  Info->BindFValue = o.BindFValue();
  Info->BindF2Value = o.BindF2Value();
  Info->BindInfoFValue = o.BindInfoFValue();
  Info->BindVerbValue = o.BindVerbValue();
  Info->CodePageValue = o.CodePageValue();
  Info->CustomVerb = o.CustomVerb;
  Info->InheritHandle = o.Security.InheritHandle;
  Info->DownloadFolder = o.DownloadFolder;
  Info->ExtraInfo = o.ExtraInfo;
  Info->FileName = o.FileName;
  Info->PostData = o.PostData;
  Info->PutFileName = o.PutFileName;
  Info->RangeBegin = o.Range.RangeBegin;
  Info->RangeEnd = o.Range.RangeEnd;
  Info->TimeOut = o.TimeOut;
  Info->Url = o.Url;
  Info->DownloadMethod = o.DownloadMethod;
  Info->FileExistsOption = o.FileExistsOption;
  Info->Renamed = o.renamed_;
}

void TBSCB::Prepare() {
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&start_);
  Timer = std::make_unique<TTimer>(nullptr);
  Timer->SetInterval(Info->TimeOut > 0 ? static_cast<unsigned>(Info->TimeOut) : 0);
  Timer->OnTimer = [this](TObject*) { OnTimeOut(); };
  TimedOut = false;
  efir::FormatSettings().LongTimeFormat = "mm:ss.zzz";
}

void TBSCB::BindAndWait() {
  BindingDone = false;
  BindingEvent.Reset();
  HRESULT hr = CreateURLMonikerEx(nullptr, Info->Url.c_str(), Moniker.put(), URL_MK_UNIFORM);
  if (!Step(hr, "CreateURLMonikerEx: ", "Error while CreateURLMonikerEx: ")) return EndAttempt(hr);
  hr = CreateAsyncBindCtx(0, static_cast<IBindStatusCallback*>(this), nullptr, BindCtx.put());
  if (!Step(hr, "CreateAsyncBindCtx: ", "Error while CreateAsyncBindCtx: ")) return EndAttempt(hr);

  ComPtr<IBindStatusCallback> previous;
  hr = RegisterBindStatusCallback(BindCtx.get(), this, previous.put(), 0);
  if (FAILED(hr) && previous &&
      SUCCEEDED(BindCtx->RevokeObjectParam(const_cast<LPOLESTR>(kHolderParam))))
    hr = RegisterBindStatusCallback(BindCtx.get(), this, previous.put(), 0);
  // The bind context made above already holds this object: only another callback is chained.
  if (SUCCEEDED(hr) && previous && previous.get() != static_cast<IBindStatusCallback*>(this))
    PreviousCallback = previous;
  Step(hr, "RegisterBindStatusCallback: ", "Error while RegisterBindStatusCallback: ");

  ComPtr<IStream> stream;
  hr = Moniker->BindToStorage(BindCtx.get(), nullptr, IID_IStream, stream.out());
  if (!Step(hr, "MonikerBindToStorage: ", "Error while MonikerBindToStorage ")) EndAttempt(hr);

  try {
    while (!BindingDone) {
      if (Owner->cancel_) {
        Abort();
        if (!ended_) Stop(E_ABORT, nullptr);
        break;
      }
      Owner->WaitForDownload(BindingEvent.handle(), Owner->startTick_, Info->TimeOut);
    }
  } catch (...) {
    Owner->DoError(E_FAIL, "ProcessEvents fails to wait until complete.");
    Abort();
    EndAttempt(E_FAIL);
    RevokeBindStatusCallback(BindCtx.get(), this);
    throw;
  }

  hr = RevokeBindStatusCallback(BindCtx.get(), this);
  if (SUCCEEDED(hr))
    Fire(&TCustomWebDownload::OnConnect, this, hr,
         "RevokeBindStatusCallback: " + DownloadStatusText(0));
  else
    Owner->DoError(hr, "Error while RevokeBindStatusCallback. " + DownloadStatusText(hr));
}

bool TBSCB::Step(HRESULT hr, const char* success, const char* failure) {
  if (FAILED(hr)) {
    ReportFailure(hr, failure + DownloadStatusText(hr));
    return false;
  }
  Fire(&TCustomWebDownload::OnConnect, this, hr, success + DownloadStatusText(hr));
  return true;
}

void TBSCB::DownloadToFile() {
  std::wstring path = TargetPath();
  HRESULT hr = URLDownloadToFileW(nullptr, Info->Url.c_str(), path.c_str(), 0,
                                  static_cast<IBindStatusCallback*>(this));
  if (TimedOut) {
    hr = INET_E_CONNECTION_TIMEOUT;
    ReportFailure(hr, DownloadStatusText(hr));
  } else if (SUCCEEDED(hr) && FAILED(failure_)) {
    hr = failure_;
  } else if (FAILED(hr) && SUCCEEDED(failure_)) {
    ReportFailure(hr, "Error while UrlDownloadToFile" + efir::SystemErrorMessage(hr));
  }
  if (SUCCEEDED(hr))
    Fire(&TCustomWebDownload::OnConnect, this, hr, "UrlDownloadToFile" + DownloadStatusText(hr));
  SetFileNames();
  EndAttempt(hr);
}

void TBSCB::DownloadToCacheFile() {
  wchar_t path[2049] = {};
  HRESULT hr = URLDownloadToCacheFileW(nullptr, Info->Url.c_str(), path, 2049, 0,
                                       static_cast<IBindStatusCallback*>(this));
  if (SUCCEEDED(hr) && FAILED(failure_)) hr = failure_;
  if (SUCCEEDED(hr))
    Owner->SetFileParts(path);
  else if (SUCCEEDED(failure_))
    ReportFailure(hr, DownloadStatusText(hr));
  EndAttempt(hr);
}

void TBSCB::SetFileNames() {
  std::wstring path = Info->DownloadFolder + Info->FileName;
  Owner->fileNameAndPath_ = path;
  Owner->extension_ = fromAnsi(efir::ExtractFileExt(toAnsi(Info->FileName)));
  Owner->FileName = Info->FileName;
  Owner->DownloadFolder = Info->DownloadFolder;
}

std::wstring TBSCB::TargetPath() {
  if (Info->FileName.empty()) Info->FileName = Owner->FileNameFromUrl(Info->Url);
  if (Info->FileName.empty()) Info->FileName = fromAnsi(Owner->DefaultUrlFileName);
  SetFileNames();
  return Owner->fileNameAndPath_;
}

void TBSCB::Stop(HRESULT result, LPCWSTR error) {
  if (PreviousCallback && BindCtx) {
    HRESULT hr =
        BindCtx->RegisterObjectParam(const_cast<LPOLESTR>(kHolderParam), PreviousCallback.get());
    if (FAILED(hr))
      Owner->DoError(hr, efir::SystemErrorMessage(static_cast<unsigned long>(hr)));
    else
      Fire(&TCustomWebDownload::OnConnect, this, result,
           "Registering new moniker: " + DownloadStatusText(hr));
    PreviousCallback.reset();
  }
  ReportBindResult();
  if (TimedOut) {
    result = INET_E_CONNECTION_TIMEOUT;
    ReportFailure(result, DownloadStatusText(result));
  } else if (SUCCEEDED(result) && FAILED(failure_)) {
    result = failure_;
  } else if (result == S_OK && contentLengthKnown_ && BytesRead < contentLength_) {
    // The connection closed before the announced length arrived.
    result = INET_E_DOWNLOAD_FAILURE;
    ReportFailure(result, DownloadStatusText(result));
  } else if (FAILED(result) && SUCCEEDED(failure_) && !Owner->cancel_) {
    ReportFailure(result, DownloadStatusText(result));
  }
  Fire(&TCustomWebDownload::OnStopBinding, this, result, wide(error));
  Binding.reset();
  Owner->SetState(sStopped);
  Fire(&TCustomWebDownload::OnStreamComplete, this, MemoryStream, result);
  EndAttempt(result);
}

void TBSCB::EndAttempt(HRESULT result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  BindingDone = true;
  BindingEvent.Set();
  if (Timer) Timer->SetEnabled(false);
  FileStream.reset();
  Finish();
  Owner->CountOut();
}

void TBSCB::Finish() {
  bool cancel = false;
  Fire(&TCustomWebDownload::OnTerminate, this, GetCurrentThreadId(),
       Info ? Info->FileName : std::wstring(), cancel);
  if (cancel) Owner->CancelAll();
}

void TBSCB::Abort() {
  if (Binding) Binding->Abort();
}

void TBSCB::OnTimeOut() {
  TimedOut = true;
  Timer->SetEnabled(false);
  Abort();
}

void TBSCB::ReportFailure(HRESULT code, const std::string& text) {
  if (SUCCEEDED(failure_)) failure_ = FAILED(code) ? code : E_ABORT;
  if (!detached_) Owner->DoError(static_cast<int>(code), text);
}

void TBSCB::ReportBindResult() {
  if (!Binding) return;
  CLSID protocol = {};
  DWORD code = 0;
  LPWSTR text = nullptr;
  HRESULT hr = Binding->GetBindResult(&protocol, &code, &text, nullptr);
  std::wstring resultText = wide(text);
  CoTaskMemFree(text);
  if (FAILED(hr)) {
    Owner->DoError(hr, DownloadStatusText(hr));
    return;
  }
  Fire(&TCustomWebDownload::OnGetBindResults, this, protocol, code, resultText,
       DownloadStatusText(static_cast<int32_t>(code)));
}

// ---- IUnknown --------------------------------------------------------------------------

STDMETHODIMP TBSCB::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  Guarded(S_OK, [&] {
    Fire(&TCustomWebDownload::OnQueryInterface, riid, ppv);
    return S_OK;
  });
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IBindStatusCallback || riid == IID_IBindStatusCallbackEx)
    *ppv = static_cast<IBindStatusCallbackEx*>(this);
  else if (riid == IID_IServiceProvider)
    *ppv = static_cast<IServiceProvider*>(this);
  else if (riid == IID_IPropertyNotifySink)
    *ppv = static_cast<IPropertyNotifySink*>(this);
  else if (riid == IID_IHttpSecurity)
    *ppv = static_cast<IHttpSecurity*>(this);
  else if (riid == IID_IWindowForBindingUI)
    *ppv = static_cast<IWindowForBindingUI*>(static_cast<IHttpSecurity*>(this));
  else if (riid == IID_IHttpNegotiate || riid == IID_IHttpNegotiate2 || riid == IID_IHttpNegotiate3)
    *ppv = static_cast<IHttpNegotiate3*>(this);
  else if (riid == IID_ICodeInstall)
    *ppv = static_cast<ICodeInstall*>(this);
  else if (riid == IID_IBindHost)
    *ppv = static_cast<IBindHost*>(this);
  else if (riid == IID_IMonikerProp)
    *ppv = static_cast<IMonikerProp*>(this);
  else if (riid == IID_IAuthenticate || riid == IID_IAuthenticateEx)
    *ppv = static_cast<IAuthenticateEx*>(this);
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TBSCB::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) TBSCB::Release() {
  ULONG left = --refCount_;
  if (left == 0) delete this;
  return left;
}

// ---- IBindStatusCallback ---------------------------------------------------------------

STDMETHODIMP TBSCB::OnStartBinding(DWORD, IBinding* pib) {
  return Guarded(E_FAIL, [&] {
    if (ended_ || Owner->cancel_) return E_FAIL;
    Binding = share(pib);
    if (PreviousCallback) PreviousCallback->OnStopBinding(200, nullptr);
    if (Info->DownloadMethod == dmStream) Info->FileName.clear();
    bool cancel = false;
    Fire(&TCustomWebDownload::OnStartBinding, this, cancel, pib);
    if (!cancel) return S_OK;
    Owner->cancel_ = true;
    return E_FAIL;
  });
}

STDMETHODIMP TBSCB::GetPriority(LONG*) {
  if (Cancelled()) Abort();
  return S_OK;
}

STDMETHODIMP TBSCB::OnLowResource(DWORD) { return E_NOTIMPL; }

STDMETHODIMP TBSCB::OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                               LPCWSTR szStatusText) {
  return Guarded(E_ABORT, [&] {
    if (ended_) return S_OK;
    if (Owner->cancel_) {
      Abort();
      return S_OK;
    }
    std::string status = DownloadStatusText(static_cast<int32_t>(ulStatusCode));
    ulProgressMax = std::max(ulProgressMax, ulProgress);
    if (PreviousCallback) {
      if (ulStatusCode == BINDSTATUS_CONTENTDISPOSITIONATTACH) return S_OK;
      PreviousCallback->OnProgress(ulProgress, ulProgressMax, ulStatusCode, szStatusText);
    }
    std::wstring text = wide(szStatusText);
    std::string downloaded, speed, remaining, percent;
    switch (ulStatusCode) {
      case BINDSTATUS_REDIRECTING: {
        Redirected = true;
        if (++redirects_ > kMaxRedirects) {
          ReportFailure(INET_E_REDIRECT_FAILED, "Too many redirects: " + toAnsi(text));
          Abort();
          return E_ABORT;
        }
        bool abort = false;
        if (text != Info->Url) Fire(&TCustomWebDownload::OnRedirect, this, abort, Info->Url, text);
        if (abort) {
          Owner->cancel_ = true;
          return E_INVALIDARG;
        }
        break;
      }
      case BINDSTATUS_DOWNLOADINGDATA:
        ProgressTexts(ulProgress, ulProgressMax, downloaded, speed, remaining, percent);
        break;
      case BINDSTATUS_ENDDOWNLOADDATA:
        downloaded = status = "Done.";
        speed = "0/00kb/sec";
        remaining = "00.00.00";
        percent = "100%";
        ulProgress = ulProgressMax = 0;
        break;
    }
    Fire(&TCustomWebDownload::OnProgress, this, ulProgress, ulProgressMax, ulStatusCode,
         ulProgressMax, text, downloaded, elapsedTime_, speed, remaining, status, percent);
    return S_OK;
  });
}

void TBSCB::ProgressTexts(ULONG progress, ULONG max, std::string& downloaded, std::string& speed,
                          std::string& remaining, std::string& percent) {
  downloaded = SizeText(progress);
  if (progress && max) percent = efir::Format("%.1f %%", 100.0 * progress / max);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  int elapsed = efir::Round(static_cast<double>(now.QuadPart - start_.QuadPart) /
                            static_cast<double>(frequency_.QuadPart));
  if (elapsed != lastElapsed_) {
    lastElapsed_ = elapsed;
    elapsedTime_ = DurationText(elapsed);
  }
  double kbPerSecond = progress > 0 && elapsed > 0 ? progress / 1024.0 / elapsed : 0;
  speed = efir::Format("%.1f ", kbPerSecond) + "kb/sec";
  if (max > 0 && kbPerSecond > 0 && progress < max)
    remaining = DurationText(efir::Round(max / kbPerSecond / 1000) -
                             efir::Round(progress / kbPerSecond / 1000));
  else
    remaining = efir::TimeToStr(0);
}

STDMETHODIMP TBSCB::OnStopBinding(HRESULT hresult, LPCWSTR szError) {
  if (kind_ != TDownloadKind::Moniker || ended_) return S_OK;
  return Guarded(hresult, [&] {
    Stop(hresult, szError);
    return result_;
  });
}

STDMETHODIMP TBSCB::GetBindInfo(DWORD* grfBINDF, BINDINFO* pbindinfo) {
  if (!grfBINDF || !pbindinfo) return E_INVALIDARG;
  return Guarded(E_FAIL, [&] {
    *grfBINDF = Info->BindFValue;
    FillBindInfo(pbindinfo);
    Fire(&TCustomWebDownload::OnGetBindInfo, this, *grfBINDF, *pbindinfo);
    return S_OK;
  });
}

STDMETHODIMP TBSCB::GetBindInfoEx(DWORD* grfBINDF, BINDINFO* pbindinfo, DWORD* grfBINDF2,
                                  DWORD* pdwReserved) {
  if (!grfBINDF || !pbindinfo || !grfBINDF2) return E_INVALIDARG;
  return Guarded(E_FAIL, [&] {
    *grfBINDF = Info->BindFValue;
    *grfBINDF2 = Info->BindF2Value;
    if (pdwReserved) *pdwReserved = 0;
    FillBindInfo(pbindinfo);
    Fire(&TCustomWebDownload::OnGetBindInfoEx, this, *grfBINDF, *pbindinfo, *grfBINDF2);
    return S_OK;
  });
}

void TBSCB::FillBindInfo(BINDINFO* info) {
  DWORD size = info->cbSize;
  if (size < offsetof(BINDINFO, iid)) return;
  std::memset(info, 0, size);
  info->cbSize = size;
  info->dwBindVerb = Redirected ? static_cast<DWORD>(BINDVERB_GET) : Info->BindVerbValue;
  info->grfBindInfoF = Info->BindInfoFValue;
  info->dwCodePage = Info->CodePageValue;
  info->securityAttributes.nLength = sizeof(SECURITY_ATTRIBUTES);
  info->securityAttributes.lpSecurityDescriptor = nullptr;
  info->securityAttributes.bInheritHandle = Info->InheritHandle;
  info->szExtraInfo = CopyOrNone(fromAnsi(Info->ExtraInfo));
  std::string body;
  switch (info->dwBindVerb) {
    case BINDVERB_POST:
      body = Info->PostData;
      break;
    case BINDVERB_PUT: {
      TMemoryStream content;
      content.LoadFromFile(Info->PutFileName);
      body.assign(reinterpret_cast<const char*>(content.Memory()),
                  static_cast<size_t>(content.Size()));
      break;
    }
    case BINDVERB_CUSTOM:
      info->szCustomVerb = CoTaskWideCopy(fromAnsi(Info->CustomVerb));
      return;
    default:
      return;
  }
  if (!RequestBody) {
    RequestBody = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, std::max<size_t>(body.size(), 1));
    if (!RequestBody) throw Exception("Not enough memory for the request body");
    std::memcpy(RequestBody, body.data(), body.size());
  }
  info->stgmedData.tymed = TYMED_HGLOBAL;
  info->stgmedData.hGlobal = RequestBody;
  // The platform releases the medium through this object, which keeps the block.
  info->stgmedData.pUnkForRelease = static_cast<IBindStatusCallbackEx*>(this);
  AddRef();
  info->cbstgmedData = static_cast<DWORD>(body.size());
}

STDMETHODIMP TBSCB::OnDataAvailable(DWORD grfBSCF, DWORD, FORMATETC*, STGMEDIUM* pstgmed) {
  return Guarded(E_INVALIDARG, [&] {
    if (ended_) return S_OK;
    if (Owner->cancel_) {
      Abort();
      return S_OK;
    }
    Fire(&TCustomWebDownload::OnDataAvailableInfo, this, grfBSCF, DataFlagsText(grfBSCF));
    if (Owner->cancel_) {
      Abort();
      return S_OK;
    }
    if (Timer->Interval() > 0) {
      Timer->SetEnabled(false);
      Timer->SetEnabled(true);
    }
    if (!DataStream && pstgmed && pstgmed->tymed == TYMED_ISTREAM)
      DataStream = share(pstgmed->pstm);
    return ReadData();
  });
}

HRESULT TBSCB::ReadData() {
  if (!DataStream) return S_OK;
  // Read until the stream has nothing more for now: the platform sends the next notice only
  // after a read found the data exhausted.
  std::vector<uint8_t> block;
  for (;;) {
    if (Owner->cancel_) {
      Abort();
      return S_OK;
    }
    block.resize(kBlockSize);
    ULONG got = 0;
    HRESULT hr = DataStream->Read(block.data(), kBlockSize, &got);
    if (got > 0) {
      block.resize(got);
      Fire(&TCustomWebDownload::OnDataAvailable, this, block);
      try {
        Store(block);
      } catch (const EInOutError& e) {
        Abort();
        ReportFailure(e.ErrorCode() ? HRESULT_FROM_WIN32(e.ErrorCode()) : E_FAIL, e.Message());
        FileStream.reset();
        return E_INVALIDARG;
      }
      BytesRead += got;
    }
    if (hr != S_OK || got == 0) return S_OK;
  }
}

void TBSCB::Store(const std::vector<uint8_t>& block) {
  MemoryStream.WriteBuffer(block.data(), block.size());
  if (Info->DownloadMethod != dmFile) return;
  if (!FileStream) OpenTargetFile();
  FileStream->WriteBuffer(block.data(), block.size());
}

void TBSCB::OpenTargetFile() {
  std::wstring path = TargetPath();
  std::string ansi = toAnsi(path);
  if (resume_ && efir::FileExists(toAnsi(path))) {
    FileStream = std::make_unique<TFileStream>(ansi, TFileStream::fmOpenReadWrite);
    FileStream->Seek(0, soEnd);
  } else {
    FileStream = std::make_unique<TFileStream>(ansi, TFileStream::fmCreate);
  }
}

STDMETHODIMP TBSCB::OnObjectAvailable(REFIID, IUnknown*) {
  if (Cancelled()) Abort();
  return S_OK;
}

// ---- IHttpNegotiate --------------------------------------------------------------------

STDMETHODIMP TBSCB::BeginningTransaction(LPCWSTR szURL, LPCWSTR szHeaders, DWORD,
                                         LPWSTR* pszAdditionalHeaders) {
  if (pszAdditionalHeaders) *pszAdditionalHeaders = nullptr;
  return Guarded(E_ABORT, [&] {
    if (ended_ || Owner->cancel_) {
      Abort();
      return E_ABORT;
    }
    if (!FileExistsRule()) {
      Abort();
      return E_ABORT;
    }
    std::wstring extra = RequestHeaders(Owner->userAgentHeader_, Info->RangeBegin, Info->RangeEnd,
                                        Info->AdditionalHeader);
    HRESULT result = S_OK;
    Fire(&TCustomWebDownload::OnBeginningTransaction, this, wide(szURL), wide(szHeaders), extra,
         result);
    if (pszAdditionalHeaders) *pszAdditionalHeaders = CoTaskWideCopy(extra);
    if (Timer->Interval() > 0) {
      Timer->SetEnabled(false);
      Timer->SetEnabled(true);
    }
    TimedOut = false;
    return result;
  });
}

bool TBSCB::FileExistsRule() {
  if (Info->FileName.empty()) {
    Info->RangeBegin = Info->RangeEnd = 0;
    return true;
  }
  std::wstring path = Info->DownloadFolder + Info->FileName;
  if (!efir::FileExists(toAnsi(path))) return true;
  Info->RangeEnd = 0;
  TFileExistsOption resumeAction = Info->FileExistsOption;
  if (Owner->OnResume) {
    Fire(&TCustomWebDownload::OnResume, this, path, resumeAction);
    Info->RangeBegin = fileSize(path);
  }
  TFileExistsOption action = Info->FileExistsOption;
  std::wstring newName;
  Fire(&TCustomWebDownload::OnFileExists, action, path, newName);
  switch (action) {
    case feOverWrite:
      Fire(&TCustomWebDownload::OnResume, this, path, resumeAction);
      Info->RangeBegin = 0;
      return true;
    case feSkip:
      return false;
    case feRename:
      // The renamed target does not exist yet: it is fetched from the start.
      Info->FileName =
          newName.empty() ? TCustomWebDownload::TimeStampedName(Info->FileName) : newName;
      Info->RangeBegin = 0;
      return true;
  }
  return true;
}

std::wstring TBSCB::RequestHeaders(const std::string& userAgentHeader, int64_t rangeBegin,
                                   int64_t rangeEnd, const TStringList& additional) {
  // The user-agent line already ends with CR LF; a further one would end the header block.
  std::string text = userAgentHeader;
  if (rangeBegin != 0 || rangeEnd != 0)
    text += "Range: bytes=" + std::to_string(rangeBegin) + "-" +
            (rangeEnd ? std::to_string(rangeEnd) : "") + "\r\n";
  for (int i = 0; i < additional.Count(); ++i) text += additional[i] + "\r\n";
  return fromAnsi(text);
}

STDMETHODIMP TBSCB::OnResponse(DWORD dwResponseCode, LPCWSTR szResponseHeaders,
                               LPCWSTR szRequestHeaders, LPWSTR* pszAdditionalRequestHeaders) {
  if (pszAdditionalRequestHeaders) *pszAdditionalRequestHeaders = nullptr;
  return Guarded(E_ABORT, [&] {
    if (ended_) return E_ABORT;
    if (Owner->cancel_) {
      Abort();
      return E_ABORT;
    }
    DWORD number = 0;
    contentLengthKnown_ = QueryHttpNumber(HTTP_QUERY_CONTENT_LENGTH, contentLength_);
    bool empty = (QueryHttpNumber(0xFFFF, number) && number == 0) ||
                 (contentLengthKnown_ && contentLength_ == 0);
    HRESULT answer = S_OK;
    if (empty || dwResponseCode >= 400) {
      ReportFailure(static_cast<HRESULT>(dwResponseCode),
                    DownloadStatusText(static_cast<int32_t>(dwResponseCode)));
      answer = E_ABORT;
    }
    Fire(&TCustomWebDownload::OnResponse, this, dwResponseCode, wide(szResponseHeaders),
         wide(szRequestHeaders), answer);
    // The answer alone does not stop every binding: the abort does.
    if (answer == E_ABORT) {
      Abort();
      return answer;
    }
    if (kind_ != TDownloadKind::Moniker) return answer;
    std::wstring disposition;
    if (Info->DownloadMethod == dmFile && Info->FileName.empty() && !Info->Renamed &&
        QueryHttpText(HTTP_QUERY_CONTENT_DISPOSITION, disposition))
      Info->FileName = DispositionFileName(disposition);
    if (Info->RangeBegin != 0 && !Info->FileName.empty()) {
      std::wstring ranges;
      QueryHttpText(HTTP_QUERY_ACCEPT_RANGES, ranges);
      resume_ = ranges == L"bytes" || dwResponseCode == 206;
      if (!resume_) Info->RangeBegin = 0;
    }
    return answer;
  });
}

std::wstring TBSCB::DispositionFileName(const std::wstring& header) {
  size_t at = header.find(L"filename=");
  if (at == std::wstring::npos) return {};
  std::wstring rest = header.substr(at + 9);
  std::wstring name;
  if (!rest.empty() && rest[0] == L'"') {
    size_t close = rest.find(L"\";", 1);
    name = close != std::wstring::npos ? rest.substr(1, close - 1)
                                       : rest.substr(1, rest.size() >= 2 ? rest.size() - 2 : 0);
  } else {
    name = rest.substr(0, rest.find(L';'));
  }
  // A server names a file, never a place: any folder part is dropped.
  size_t slash = name.find_last_of(L"\\/:");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  if (name == L"." || name == L"..") return {};
  return name;
}

STDMETHODIMP TBSCB::GetRootSecurityId(BYTE* pbSecurityId, DWORD* pcbSecurityId,
                                      DWORD_PTR dwReserved) {
  return Guarded(E_NOTIMPL, [&] {
    HRESULT result = E_NOTIMPL;
    Fire(&TCustomWebDownload::OnGetRootSecurityId, this, pbSecurityId, pcbSecurityId, dwReserved,
         result);
    return result;
  });
}

STDMETHODIMP TBSCB::GetSerializedClientCertContext(BYTE** ppbCert, DWORD* pcbCert) {
  return Guarded(S_FALSE, [&] {
    HRESULT result = S_FALSE;
    Fire(&TCustomWebDownload::OnGetSerializedClientCertContext, this, ppbCert, pcbCert, result);
    return result;
  });
}

bool TBSCB::QueryHttpNumber(DWORD level, DWORD& value) {
  ComPtr<IWinInetHttpInfo> info;
  if (!Binding || FAILED(Binding->QueryInterface(IID_IWinInetHttpInfo, info.out()))) return false;
  DWORD number = 0, size = sizeof(number);
  if (info->QueryInfo(level | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr, nullptr) != S_OK)
    return false;
  value = number;
  return true;
}

bool TBSCB::QueryHttpText(DWORD level, std::wstring& text) {
  ComPtr<IWinInetHttpInfo> info;
  if (!Binding || FAILED(Binding->QueryInterface(IID_IWinInetHttpInfo, info.out()))) return false;
  // The narrow form of the query answers in the network library's own code page.
  char buffer[2049] = {};
  DWORD size = sizeof(buffer) - 1;
  if (info->QueryInfo(level, buffer, &size, nullptr, nullptr) != S_OK) return false;
  text = fromAnsi(std::string(buffer, strnlen(buffer, size)));
  return true;
}

// ---- the other interfaces --------------------------------------------------------------

STDMETHODIMP TBSCB::GetWindow(REFGUID rguidReason, HWND* phwnd) {
  if (!phwnd) return E_INVALIDARG;
  *phwnd = nullptr;
  return Guarded(S_OK, [&] {
    HRESULT result = S_OK;
    Fire(&TCustomWebDownload::OnGetWindow, this, rguidReason, *phwnd, result);
    return result;
  });
}

STDMETHODIMP TBSCB::OnSecurityProblem(DWORD dwProblem) {
  return Guarded(S_FALSE, [&] {
    HRESULT result = S_FALSE;
    Fire(&TCustomWebDownload::OnSecurityProblem, this, dwProblem,
         DownloadStatusText(static_cast<int32_t>(dwProblem)), result);
    return result;
  });
}

STDMETHODIMP TBSCB::OnCodeInstallProblem(ULONG ulStatusCode, LPCWSTR szDestination,
                                         LPCWSTR szSource, DWORD dwReserved) {
  return Guarded(S_OK, [&] {
    HRESULT result = S_OK;
    Fire(&TCustomWebDownload::OnCodeInstallProblem, this, ulStatusCode, wide(szDestination),
         wide(szSource), dwReserved, DownloadStatusText(static_cast<int32_t>(ulStatusCode)),
         result);
    return result;
  });
}

STDMETHODIMP TBSCB::QueryService(REFGUID guidService, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return Guarded(E_NOINTERFACE, [&] {
    void* object = nullptr;
    Fire(&TCustomWebDownload::OnQueryService, this, guidService, riid, object);
    *ppv = object;
    return object ? S_OK : E_NOINTERFACE;
  });
}

STDMETHODIMP TBSCB::OnChanged(DISPID) { return S_OK; }
STDMETHODIMP TBSCB::OnRequestEdit(DISPID) { return E_NOTIMPL; }

STDMETHODIMP TBSCB::CreateMoniker(LPOLESTR, IBindCtx*, IMoniker** ppmk, DWORD) {
  if (!ppmk) return E_POINTER;
  *ppmk = nullptr;
  if (!Info) return E_UNEXPECTED;
  HRESULT hr = CreateURLMonikerEx(nullptr, Info->Url.c_str(), Moniker.put(), URL_MK_UNIFORM);
  if (SUCCEEDED(hr)) {
    *ppmk = Moniker.get();
    Moniker->AddRef();
  }
  return hr;
}

STDMETHODIMP TBSCB::MonikerBindToStorage(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                         void** ppvObj) {
  if (ppvObj) *ppvObj = nullptr;
  if (!Moniker || !BindCtx) return E_UNEXPECTED;
  return Moniker->BindToStorage(BindCtx.get(), nullptr, IID_IStream, DataStream.out());
}

STDMETHODIMP TBSCB::MonikerBindToObject(IMoniker* pMk, IBindCtx* pBC, IBindStatusCallback* pBSC,
                                        REFIID riid, void** ppvObj) {
  return MonikerBindToStorage(pMk, pBC, pBSC, riid, ppvObj);
}

STDMETHODIMP TBSCB::PutProperty(MONIKERPROPERTY mkp, LPCWSTR val) {
  return Guarded(E_NOTIMPL, [&] {
    HRESULT result = E_NOTIMPL;
    Fire(&TCustomWebDownload::OnPutProperty, this, mkp, wide(val), result);
    return result;
  });
}

STDMETHODIMP TBSCB::Authenticate(HWND* phwnd, LPWSTR* pszUsername, LPWSTR* pszPassword) {
  return AuthenticateEx(phwnd, pszUsername, pszPassword, nullptr);
}

STDMETHODIMP TBSCB::AuthenticateEx(HWND* phwnd, LPWSTR* pszUsername, LPWSTR* pszPassword,
                                   AUTHENTICATEINFO* pauthinfo) {
  if (!phwnd || !pszUsername || !pszPassword) return E_INVALIDARG;
  *phwnd = nullptr;
  *pszUsername = *pszPassword = nullptr;
  return Guarded(E_ACCESSDENIED, [&] {
    HWND window = nullptr;
    std::wstring user, password;
    HRESULT result = S_OK;
    if (pauthinfo)
      Fire(&TCustomWebDownload::OnAuthenticateEx, this, window, user, password, pauthinfo, result);
    else
      Fire(&TCustomWebDownload::OnAuthenticate, this, window, user, password, result);
    *phwnd = window;
    *pszUsername = CopyOrNone(user);
    *pszPassword = CopyOrNone(password);
    return result;
  });
}
