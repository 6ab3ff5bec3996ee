// The host of the platform's HTML document for parsing pages: the client site, property-notify
// sink and ambient-property dispatcher a document asks its container for. The multiple
// download component owns one; nothing loads a page into it yet, so it holds no document
// unless one is handed to it.
//
//   auto* parser = new TWebParser(owner);
//   parser->DownloadOptions.Exclude(TDownloadControlOption::DownloadImages);
//
// Its interfaces live as long as the component: reference counts do not free it.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <array>
#include <string>

#include "download/download_options.h"
#include "framework/component.h"
#include "framework/com_ptr.h"

enum class TDownloadControlOption {
  DownloadImages,
  DownloadVideos,
  DownloadBGSounds,
  DontExecuteScripts,
  DontExecuteJava,
  DontExecuteActiveX,
  DontDownloadActiveX,
  DownloadButDontDisplay,
  DontDownloadFrame,
  CheckPageResynchronize,
  DownloadAndIgnoreCache,
  DontDownloadBehaviors,
  SuppressedMetaCharset,
  DisableUrlIfEncodingUTF8,
  EnableUrlIfEncodingUTF8,
  ForceOfflineMode,
  DontPerformClientPull,
  DownloadInSilentMode,
  WorkOffline
};
inline constexpr std::array<uint32_t, 19> kDownloadControlValues = {
    0x10,    0x20,       0x40,       0x80,       0x100,     0x200,   0x400,
    0x800,   0x1000,     0x2000,     0x4000,     0x8000,    0x10000, 0x20000,
    0x40000, 0x10000000, 0x20000000, 0x40000000, 0x80000000};

// Posted to the thread when a held document has finished loading.
inline constexpr UINT WM_PARSER_DOCUMENT_COMPLETE = WM_USER + 1;

class TWebParser : public TComponent,
                   public IOleClientSite,
                   public IPropertyNotifySink,
                   public IDispatch {
 public:
  explicit TWebParser(TComponent* AOwner);
  ~TWebParser() override;

  std::string About() const { return "HTML parser host"; }
  void SetAbout(const std::string&) {}
  bool DownloadOnly = false;
  TOptionSet<TDownloadControlOption> DownloadOptions{
      TDownloadControlOption::DownloadImages,      TDownloadControlOption::DownloadVideos,
      TDownloadControlOption::DownloadBGSounds,    TDownloadControlOption::DontExecuteScripts,
      TDownloadControlOption::DontExecuteJava,     TDownloadControlOption::DontExecuteActiveX,
      TDownloadControlOption::DontDownloadActiveX, TDownloadControlOption::DownloadButDontDisplay};
  DWORD DownloadOptionsValue() const { return DownloadOptions.Value(kDownloadControlValues); }
  std::wstring Html;
  bool ParseNoFrames = false;
  TProxySettings ProxySettings;
  std::string URL;

  // The document whose ready state this host follows (none by default).
  void SetDocument(IUnknown* document);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
  STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
  STDMETHODIMP ShowObject() override { return E_NOTIMPL; }
  STDMETHODIMP OnShowWindow(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IPropertyNotifySink
  STDMETHODIMP OnChanged(DISPID dispID) override;
  STDMETHODIMP OnRequestEdit(DISPID) override { return E_NOTIMPL; }
  // IDispatch: only the ambient download-control property is answered.
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

 protected:
  void Loaded() override;

 private:
  efir::ComPtr<IUnknown> document_;
  efir::ComPtr<IDispatch> documentDispatch_;
  bool busy_ = false;
};
