#include "mediaplayer/media_player_control.h"

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <string_view>
#include <utility>

#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "framework/com_ptr.h"

namespace efir {
namespace {

// The control's class identifier. Everything else about it is found by name in its type
// information at run time.
constexpr CLSID kControlClassId = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// The status-change event's identifier, for a control whose type information lists no events.
constexpr DISPID kStatusChangeId = 5002;
constexpr wchar_t kHostClass[] = L"EfirMediaPlayerHost";
constexpr int kHostSize = 100;

std::string describe(HRESULT hr, const EXCEPINFO* info) {
  if (info && info->bstrDescription) return text::toAnsi(info->bstrDescription);
  // A failure inside the member itself comes back wrapped, with the member's own code.
  if (hr == DISP_E_EXCEPTION && info && FAILED(info->scode)) return describe(info->scode, nullptr);
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  if (!message.empty()) return text::toAnsi(message);
  char code[16];
  std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(hr));
  return code;
}

void check(HRESULT hr, const std::string& member) {
  if (FAILED(hr)) throw EAutomationError(member + ": " + describe(hr, nullptr));
}

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

// For a dual interface described as a dispatch interface, the description of its vtable
// half. Members are called through the vtable by the type information, not through the
// object's own IDispatch::Invoke: some builds of the control leave that unimplemented.
ComPtr<ITypeInfo> vtableHalf(ComPtr<ITypeInfo> type, const std::string& member) {
  TYPEATTR* attributes = nullptr;
  check(type->GetTypeAttr(&attributes), member);
  bool dual = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
  type->ReleaseTypeAttr(attributes);
  if (!dual) return type;
  HREFTYPE reference = 0;
  ComPtr<ITypeInfo> vtable;
  check(type->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference), member);
  check(type->GetRefTypeInfo(reference, vtable.put()), member);
  return vtable;
}

// An object of the control together with the description of the interface it is held by.
struct LateBound {
  ComPtr<IUnknown> object;
  ComPtr<ITypeInfo> type;
};

MEMBERID memberId(ITypeInfo* type, std::wstring name, const std::string& member) {
  wchar_t* names[] = {name.data()};
  MEMBERID id = 0;
  check(type->GetIDsOfNames(names, 1, &id), member);
  return id;
}

// The interface description of what property `id` of `type` (or of its base interfaces)
// returns: the object comes back through the last parameter.
ComPtr<ITypeInfo> propertyType(ITypeInfo* type, MEMBERID id, const std::string& member) {
  TYPEATTR* attributes = nullptr;
  check(type->GetTypeAttr(&attributes), member);
  WORD functions = attributes->cFuncs;
  WORD bases = attributes->cImplTypes;
  type->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    check(type->GetFuncDesc(i, &function), member);
    bool found = function->memid == id && function->invkind == INVOKE_PROPERTYGET &&
                 function->cParams > 0;
    const TYPEDESC* result =
        found ? &function->lprgelemdescParam[function->cParams - 1].tdesc : nullptr;
    while (result && result->vt == VT_PTR) result = result->lptdesc;
    HREFTYPE reference = result && result->vt == VT_USERDEFINED ? result->hreftype : 0;
    type->ReleaseFuncDesc(function);
    if (!found) continue;
    ComPtr<ITypeInfo> returned;
    check(reference ? type->GetRefTypeInfo(reference, returned.put()) : E_NOINTERFACE, member);
    return vtableHalf(returned, member);
  }
  ComPtr<ITypeInfo> base;
  HREFTYPE reference = 0;
  check(bases ? type->GetRefTypeOfImplType(0, &reference) : DISP_E_MEMBERNOTFOUND, member);
  check(type->GetRefTypeInfo(reference, base.put()), member);
  return propertyType(base.get(), id, member);
}

void invoke(const LateBound& target, MEMBERID id, WORD flags, VARIANT* argument,
            VARIANT* result, const std::string& member) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (argument) {
    params.rgvarg = argument;
    params.cArgs = 1;
  }
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  UINT badArgument = 0;
  HRESULT hr = target.type->Invoke(target.object.get(), id, flags, &params, result, &info,
                                   &badArgument);
  std::string error = FAILED(hr) ? describe(hr, &info) : std::string();
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  if (FAILED(hr)) throw EAutomationError(member + ": " + error);
}

// Calls a member given by name, or as a dotted path ("controls.play") whose every step but
// the last is an object-valued property of the one before; `path` names it in errors.
void invokePath(const LateBound& root, const std::string& path, WORD flags, VARIANT* argument,
                VARIANT* result) {
  LateBound target = root;
  size_t start = 0;
  for (size_t dot; (dot = path.find('.', start)) != std::string::npos; start = dot + 1) {
    MEMBERID id = memberId(target.type.get(), text::fromAnsi(path.substr(start, dot - start)), path);
    Variant child;
    invoke(target, id, DISPATCH_PROPERTYGET, nullptr, &child, path);
    if ((child.vt != VT_DISPATCH && child.vt != VT_UNKNOWN) || !child.punkVal)
      check(E_NOINTERFACE, path);
    child.punkVal->AddRef();
    target = {ComPtr<IUnknown>::attach(child.punkVal), propertyType(target.type.get(), id, path)};
  }
  MEMBERID id = memberId(target.type.get(), text::fromAnsi(path.substr(start)), path);
  invoke(target, id, flags, argument, result, path);
}

Variant* getProperty(const LateBound& root, const std::string& path, VARTYPE type,
                     Variant& value) {
  invokePath(root, path, DISPATCH_PROPERTYGET, nullptr, &value);
  check(VariantChangeType(&value, &value, 0, type), path);
  return &value;
}

// Reference counting shared by the two objects the control calls back into.
template <class... Interfaces>
class ComObject : public Interfaces... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  virtual ~ComObject() = default;

 private:
  LONG refs_ = 1;
};

// The container side the control needs to be embedded: it lives in the host window, is never
// shown, and has no frame, menus or documents to offer.
class Site : public ComObject<IOleClientSite, IOleInPlaceSiteEx> {
 public:
  explicit Site(HWND host) : host_(host) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx)
      *out = static_cast<IOleInPlaceSiteEx*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    *out = host_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             RECT* position, RECT* clip,
                                             OLEINPLACEFRAMEINFO* info) override {
    *frame = nullptr;
    *doc = nullptr;
    GetClientRect(host_, position);
    *clip = *position;
    info->cb = sizeof(*info);
    info->fMDIApp = FALSE;
    info->hwndFrame = host_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT*) override { return S_OK; }

  // IOleInPlaceSiteEx
  HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* redraw, DWORD) override {
    if (redraw) *redraw = TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestUIActivate() override { return S_FALSE; }

 private:
  HWND host_;
};

// Receives the control's events; only the status change is of interest.
class EventSink : public ComObject<IDispatch> {
 public:
  EventSink(const IID& events, DISPID statusChange, std::function<void()> onStatusChange)
      : events_(events), statusChange_(statusChange), onStatusChange_(std::move(onStatusChange)) {}

  // The control may keep its reference after we are gone.
  void Detach() { onStatusChange_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != events_)
      return *out = nullptr, E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id == statusChange_ && onStatusChange_) onStatusChange_();
    return S_OK;
  }

 private:
  IID events_;
  DISPID statusChange_;
  std::function<void()> onStatusChange_;
};

// The coclass's default interface (`source` false) or default event interface (`source` true).
ComPtr<ITypeInfo> defaultInterface(ITypeInfo* coclass, bool source, const std::string& member) {
  TYPEATTR* attributes = nullptr;
  check(coclass->GetTypeAttr(&attributes), member);
  WORD implemented = attributes->cImplTypes;
  coclass->ReleaseTypeAttr(attributes);
  const INT wanted = IMPLTYPEFLAG_FDEFAULT | (source ? IMPLTYPEFLAG_FSOURCE : 0);
  for (UINT i = 0; i < implemented; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != wanted) continue;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> found;
    check(coclass->GetRefTypeOfImplType(i, &reference), member);
    check(coclass->GetRefTypeInfo(reference, found.put()), member);
    return found;
  }
  check(E_NOINTERFACE, member);
  return {};
}

IID interfaceId(ITypeInfo* type, const std::string& member) {
  TYPEATTR* attributes = nullptr;
  check(type->GetTypeAttr(&attributes), member);
  IID id = attributes->guid;
  type->ReleaseTypeAttr(attributes);
  return id;
}

// What the control's own type information tells: its default interface, its event interface
// and the identifier of the status-change event in it.
struct ControlTypes {
  ComPtr<ITypeInfo> automation;
  IID events;
  DISPID statusChange;
};

ControlTypes readControlTypes(IUnknown* control) {
  const std::string member = "type information";
  ComPtr<IProvideClassInfo> provider;
  check(control->QueryInterface(IID_IProvideClassInfo, provider.out()), member);
  ComPtr<ITypeInfo> coclass;
  check(provider->GetClassInfo(coclass.put()), member);
  ControlTypes types{};
  types.automation = vtableHalf(defaultInterface(coclass.get(), false, member), member);
  ComPtr<ITypeInfo> events = defaultInterface(coclass.get(), true, "StatusChange");
  types.events = interfaceId(events.get(), "StatusChange");
  wchar_t name[] = L"StatusChange";
  wchar_t* names[] = {name};
  if (FAILED(events->GetIDsOfNames(names, 1, &types.statusChange)))
    types.statusChange = kStatusChangeId;
  return types;
}

HWND createHost(HWND parent) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND host = CreateWindowExW(0, kHostClass, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, kHostSize,
                              kHostSize, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!host) check(HRESULT_FROM_WIN32(GetLastError()), "host window");
  return host;
}

}  // namespace

// Members in the order they are set up; each part undoes itself, so a construction that
// fails half-way leaves nothing behind.
struct MediaPlayerControl::State {
  struct Ole {
    HRESULT result = OleInitialize(nullptr);
    ~Ole() {
      if (SUCCEEDED(result)) OleUninitialize();
    }
  } ole;
  struct Host {
    HWND window;
    ~Host() { DestroyWindow(window); }
  } host;
  struct Embedded {
    ComPtr<IOleObject> object;
    ~Embedded() {
      if (!object) return;
      object->Close(OLECLOSE_NOSAVE);
      object->SetClientSite(nullptr);
    }
  } embedded;
  LateBound automation;
  struct Connection {
    ComPtr<EventSink> sink;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    ~Connection() {
      if (point) point->Unadvise(cookie);
      if (sink) sink->Detach();
    }
  } connection;

  explicit State(HWND parent) : host{createHost(parent)} {}
};

MediaPlayerControl::MediaPlayerControl(HWND parent) : state_(std::make_unique<State>(parent)) {
  State& s = *state_;
  check(CoCreateInstance(kControlClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                         s.embedded.object.out()),
        "media player control");
  auto site = ComPtr<IOleClientSite>::attach(new Site(s.host.window));
  check(s.embedded.object->SetClientSite(site.get()), "SetClientSite");
  RECT area;
  GetClientRect(s.host.window, &area);
  check(s.embedded.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0,
                                  s.host.window, &area),
        "DoVerb");
  ControlTypes types = readControlTypes(s.embedded.object.get());
  s.automation.type = types.automation;
  check(s.embedded.object->QueryInterface(interfaceId(types.automation.get(), "automation"),
                                          s.automation.object.out()),
        "automation");

  ComPtr<IConnectionPointContainer> container;
  check(s.embedded.object->QueryInterface(IID_IConnectionPointContainer, container.out()),
        "StatusChange");
  check(container->FindConnectionPoint(types.events, s.connection.point.put()), "StatusChange");
  s.connection.sink = ComPtr<EventSink>::attach(
      new EventSink(types.events, types.statusChange, [this] { RaiseStatusChange(); }));
  HRESULT advised = s.connection.point->Advise(s.connection.sink.get(), &s.connection.cookie);
  if (FAILED(advised)) s.connection.point.reset();
  check(advised, "StatusChange");

  // An address starts playing only when told to: set with the control's own start on, it
  // plays at once, and the play that follows it plays a second time.
  Variant off;
  off.vt = VT_BOOL;
  off.boolVal = VARIANT_FALSE;
  invokePath(s.automation, "settings.autoStart", DISPATCH_PROPERTYPUT, &off, nullptr);
}

MediaPlayerControl::~MediaPlayerControl() = default;

void MediaPlayerControl::RaiseStatusChange() noexcept {
  try {
    StatusChanged();
  } catch (...) {
    try {
      if (OnEventError) OnEventError(std::current_exception());
    } catch (...) {
    }
  }
}

HWND MediaPlayerControl::HostWindow() const { return state_->host.window; }

void MediaPlayerControl::SetURL(const std::string& url) {
  Variant value;
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(text::fromAnsi(url).c_str());
  invokePath(state_->automation, "URL", DISPATCH_PROPERTYPUT, &value, nullptr);
}

void MediaPlayerControl::Play() {
  // Some builds of the control are left half-open by a play that failed and crash on the
  // next one; a stop in between closes what the failed play left.
  if (playFailed_) Stop();
  playFailed_ = true;
  invokePath(state_->automation, "controls.play", DISPATCH_METHOD, nullptr, nullptr);
  playFailed_ = false;
}

void MediaPlayerControl::Stop() {
  invokePath(state_->automation, "controls.stop", DISPATCH_METHOD, nullptr, nullptr);
}

void MediaPlayerControl::SetVolume(int volume) {
  Variant value;
  value.vt = VT_I4;
  value.lVal = volume;
  invokePath(state_->automation, "settings.volume", DISPATCH_PROPERTYPUT, &value, nullptr);
}

int MediaPlayerControl::Volume() {
  Variant value;
  return getProperty(state_->automation, "settings.volume", VT_I4, value)->lVal;
}

int MediaPlayerControl::PlayState() {
  Variant value;
  return getProperty(state_->automation, "playState", VT_I4, value)->lVal;
}

std::string MediaPlayerControl::Status() {
  Variant value;
  BSTR status = getProperty(state_->automation, "status", VT_BSTR, value)->bstrVal;
  return status ? text::toAnsi(status) : std::string();
}

}  // namespace efir
