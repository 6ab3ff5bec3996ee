#include "download/web_parser.h"

#include <mshtmdid.h>
#include <olectl.h>

#include "download/web_download.h"

namespace {

// OLE for the GUI thread, for as long as the program runs.
struct OleForProgram {
  OleForProgram() { OleInitialize(nullptr); }
  ~OleForProgram() { OleUninitialize(); }
} oleForProgram;

constexpr char kAgent[] = "User-agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";

}  // namespace

TWebParser::TWebParser(TComponent* AOwner) : TComponent(AOwner) {}

TWebParser::~TWebParser() {
  if (ProxySettings.AutoLoadProxy) efir::SwitchProxy("", "");
}

void TWebParser::Loaded() {
  TComponent::Loaded();
  busy_ = false;
  if (ProxySettings.AutoLoadProxy && !ProxySettings.Server.empty())
    efir::SwitchProxy(kAgent, ProxySettings.Server + ":" + std::to_string(ProxySettings.Port));
}

void TWebParser::SetDocument(IUnknown* document) {
  document_.reset();
  documentDispatch_.reset();
  if (!document) return;
  document->AddRef();
  document_ = efir::ComPtr<IUnknown>::attach(document);
  document->QueryInterface(IID_IDispatch, documentDispatch_.out());
}

STDMETHODIMP TWebParser::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite)
    *ppv = static_cast<IOleClientSite*>(this);
  else if (riid == IID_IPropertyNotifySink)
    *ppv = static_cast<IPropertyNotifySink*>(this);
  else if (riid == IID_IDispatch)
    *ppv = static_cast<IDispatch*>(this);
  else
    *ppv = nullptr;
  return *ppv ? S_OK : E_NOINTERFACE;
}

STDMETHODIMP TWebParser::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
  if (ppmk) *ppmk = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TWebParser::GetContainer(IOleContainer** ppContainer) {
  if (ppContainer) *ppContainer = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TWebParser::OnChanged(DISPID dispID) {
  if (!documentDispatch_ || dispID != DISPID_READYSTATE) return S_OK;
  DISPPARAMS none = {};
  VARIANT state;
  VariantInit(&state);
  HRESULT hr = documentDispatch_->Invoke(DISPID_READYSTATE, IID_NULL, 2048, DISPATCH_PROPERTYGET,
                                         &none, &state, nullptr, nullptr);
  if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&state, &state, 0, VT_I4)) &&
      state.lVal == READYSTATE_COMPLETE)
    PostThreadMessageW(GetCurrentThreadId(), WM_PARSER_DOCUMENT_COMPLETE, 0, 0);
  VariantClear(&state);
  return S_OK;
}

STDMETHODIMP TWebParser::GetTypeInfoCount(UINT* pctinfo) {
  if (pctinfo) *pctinfo = 0;
  return S_OK;
}

STDMETHODIMP TWebParser::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*,
                                VARIANT* pVarResult, EXCEPINFO*, UINT*) {
  if (dispIdMember != DISPID_AMBIENT_DLCONTROL) return DISP_E_MEMBERNOTFOUND;
  if (pVarResult) {
    VariantInit(pVarResult);
    pVarResult->vt = VT_I4;
    pVarResult->lVal = static_cast<LONG>(DownloadOptionsValue());
  }
  return S_OK;
}
