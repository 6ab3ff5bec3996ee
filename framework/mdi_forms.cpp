// The MDI side of TForm: an fsMDIForm holds a system MDI client window that covers its
// client area and shows the fsMDIChild forms; the system's frame and child procedures do the
// MDI work (activation, maximizing, tiling) behind the forms' own handlers.
#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/forms.h"

namespace {

// The MDI parent of a new child: the main form when it is one, else the nearest one that
// owns the child.
TForm* MDIParentFor(const TForm* child) {
  TForm* main = Application.MainForm();
  if (main && main != child && main->FormStyle() == fsMDIForm) return main;
  for (TComponent* c = child->Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<TForm*>(c); form && form->FormStyle() == fsMDIForm) return form;
  return nullptr;
}

constexpr UINT kFirstChildId = 0xFF00;

}  // namespace

void TForm::MDIChildParams(TCreateParams& Params) {
  TForm* parent = MDIParentFor(this);
  if (!parent) throw Exception("Cannot create form. No MDI forms are currently active");
  parent->HandleNeeded();
  Params.WndParent = parent->ClientHandle();
  Params.Style = (Params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD;
  Params.ExStyle |= WS_EX_MDICHILD;
  // Beside a maximized child a new one comes up maximized, as the system's MDI does for its
  // own children (Wine restores the maximized one instead).
  TForm* active = parent->ActiveMDIChild();
  if (active && active != this && active->HandleAllocated() && IsZoomed(active->Handle())) {
    Params.Style |= WS_MAXIMIZE;
    windowState_ = wsMaximized;
  }
}

void TForm::CreateMDIClient() {
  CLIENTCREATESTRUCT create{nullptr, kFirstChildId};
  RECT client;
  GetClientRect(Handle(), &client);
  clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                  0, 0, client.right, client.bottom, Handle(), nullptr, GetModuleHandleW(nullptr),
                                  &create);
  if (!clientHandle_) throw Exception("Cannot create the MDI client window: error " + std::to_string(GetLastError()));
}

void TForm::DestroyWnd() {
  // The client keeps its list of children: a child leaves through it.
  HWND client = formStyle_ == fsMDIChild ? GetParent(Handle()) : nullptr;
  if (client) {
    SaveWindowState();
    TForm* parent = MDIParent();
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
    if (parent && menu_) parent->UpdateMenuBar();  // the leaving child's items leave the bar
  } else {
    TCustomControl::DestroyWnd();
  }
  clientHandle_ = nullptr;
}

void TForm::DefaultHandler(TMessage& Message) {
  if (formStyle_ != fsMDIForm && formStyle_ != fsMDIChild) return TCustomControl::DefaultHandler(Message);
  if (!HandleAllocated() || (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400)) return;
  Message.Result = formStyle_ == fsMDIForm
                       ? DefFrameProcW(Handle(), clientHandle_, Message.Msg, Message.WParam, Message.LParam)
                       : DefMDIChildProcW(Handle(), Message.Msg, Message.WParam, Message.LParam);
}

TForm* TForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(efir::FindControl(active));
}

TForm* TForm::MDIParent() {
  if (formStyle_ != fsMDIChild || !HandleAllocated()) return nullptr;
  HWND client = GetParent(Handle());
  return client ? dynamic_cast<TForm*>(efir::FindControl(GetParent(client))) : nullptr;
}

std::vector<TForm*> TForm::MDIChildList() const {
  std::vector<TForm*> children;
  if (!clientHandle_) return children;
  for (HWND w = GetWindow(clientHandle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TForm*>(efir::FindControl(w)); form && form->FormStyle() == fsMDIChild)
      children.push_back(form);
  return children;
}

int TForm::MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }

TForm* TForm::MDIChildren(int index) const { return MDIChildList().at(static_cast<size_t>(index)); }
