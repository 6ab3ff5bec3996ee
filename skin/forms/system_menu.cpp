#include "skin/forms/system_menu.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/string_list.h"
#include "framework/text_encoding.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/dialog_wnd.h"

namespace {

// A skin item's caption may carry a marker after which the name is not part of it.
constexpr char kInternalMarker[] = "(internal)";
constexpr int kSkinsPerColumn = 20;

TMenuItem* NewItem(TComponent* owner, const std::string& caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  return item;
}

}  // namespace

SystemMenuText ReadSystemMenuText(HMENU menu, UINT item, UINT byFlag) {
  SystemMenuText text;
  wchar_t buffer[256] = {};
  if (!menu || GetMenuStringW(menu, item, buffer, 256, byFlag) <= 0) return text;
  const std::string whole = efir::text::toAnsi(buffer);
  const size_t tab = whole.find('\t');
  text.Caption = whole.substr(0, tab);
  if (tab != std::string::npos) text.ShortCut = whole.substr(tab + 1);
  text.Found = true;
  return text;
}

TsSystemMenu::TsSystemMenu(TComponent* owner, TForm* form) : TsCustomSysMenu(owner), Form(form) { MakeItems(); }

void TsSystemMenu::Send(WPARAM command) const {
  if (Form && Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_SYSCOMMAND, command, 0);
}

TMenuItem* TsSystemMenu::AddCommandItem(HMENU windowMenu, UINT command, const char* fallback, const char* name,
                                        bool updateAfter) {
  const SystemMenuText text = ReadSystemMenuText(windowMenu, command, MF_BYCOMMAND);
  TMenuItem* item = NewItem(this, text.Found ? text.Caption : fallback);
  item->OnClick = [this, command, updateAfter](TObject*) {
    Send(command);
    if (updateAfter) UpdateItems(false);
  };
  item->SetName(name);
  item->SetTag(static_cast<intptr_t>(command));
  Items()->Add(item);
  return item;
}

void TsSystemMenu::AddSeparator() { Items()->Add(NewItem(this, "-")); }

void TsSystemMenu::MakeItems() {
  Items()->Clear();
  acIR = acIM = acIS = acIN = acIX = acIC = nullptr;
  ExtraItemCount = 0;
  HMENU windowMenu = Form && Form->HandleAllocated() ? GetSystemMenu(Form->Handle(), FALSE) : nullptr;
  if (!windowMenu) return;
  acIR = AddCommandItem(windowMenu, SC_RESTORE, "Restore", "acIR", true);
  acIM = AddCommandItem(windowMenu, SC_MOVE, "Move", "acIM", false);
  acIS = AddCommandItem(windowMenu, SC_SIZE, "Size", "acIS", false);
  acIN = AddCommandItem(windowMenu, SC_MINIMIZE, "Minimize", "acIN", true);
  acIX = AddCommandItem(windowMenu, SC_MAXIMIZE, "Maximize", "acIX", true);
  AddSeparator();
  // The program's own items: every identifier below the system's commands, a submenu (-1)
  // included.
  for (int i = 0; i < GetMenuItemCount(windowMenu); ++i) {
    const auto id = static_cast<int>(GetMenuItemID(windowMenu, i));
    const SystemMenuText text = ReadSystemMenuText(windowMenu, static_cast<UINT>(i), MF_BYPOSITION);
    if (id >= static_cast<int>(SC_SIZE) || text.Caption.empty()) continue;
    TMenuItem* item = NewItem(this, text.Caption);
    item->SetTag(id);
    if (!text.ShortCut.empty()) item->SetShortCut(TextToShortCut(text.ShortCut));
    item->OnClick = [this](TObject* sender) {
      auto* clicked = static_cast<TMenuItem*>(sender);
      if (Form && Form->HandleAllocated())
        PostMessageW(Form->Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(clicked->Tag()), 0);
    };
    Items()->Add(item);
    ++ExtraItemCount;
  }
  if (ExtraItemCount > 0) AddSeparator();
  const SystemMenuText close = ReadSystemMenuText(windowMenu, SC_CLOSE, MF_BYCOMMAND);
  acIC = NewItem(this, close.Found ? close.Caption : "Close");
  if (!close.ShortCut.empty()) acIC->SetShortCut(TextToShortCut(close.ShortCut));
  acIC->OnClick = [this](TObject*) { Send(SC_CLOSE); };
  acIC->SetName("acIC");
  acIC->SetTag(SC_CLOSE);
  Items()->Add(acIC);
}

TsSkinManager* TsSystemMenu::Manager() const { return SkinManager ? SkinManager : TsSkinManager::DefaultManager(); }

void TsSystemMenu::AddSkinItems() {
  TsSkinManager* manager = Manager();
  if (!manager) return;
  TStringList names;
  std::string first;
  manager->ListSkinNames(names, 2, first);
  if (names.Count() == 0) return;
  TMenuItem* skins = NewItem(this, "Available skins");
  skins->SetName("SkinSelectItem");
  Items()->Insert(0, skins);
  Items()->Insert(1, NewItem(this, "-"));
  for (int i = 0; i < names.Count(); ++i) {
    TMenuItem* item = NewItem(this, names[i]);
    item->SetName("SkinSelectItem" + std::to_string(i));
    item->SetRadioItem(true);
    item->SetChecked(names[i] == manager->SkinName());
    if (i > 0 && i % kSkinsPerColumn == 0) item->SetBreak(mbBreak);
    item->OnClick = [this](TObject* sender) { SkinItemClick(static_cast<TMenuItem*>(sender)); };
    skins->Add(item);
  }
}

void TsSystemMenu::SkinItemClick(TMenuItem* item) {
  TsSkinManager* manager = Manager();
  if (!manager) return;
  std::string name = item->Caption();
  name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
  const size_t marker = name.find(kInternalMarker);
  if (marker != std::string::npos) name.resize(marker + sizeof kInternalMarker - 1);
  manager->SetSkinName(name);
}

void TsSystemMenu::UpdateItems(bool rebuild) {
  if (rebuild) MakeItems();
  if (!Form) return;
  const TFormBorderStyle border = Form->BorderStyle();
  const bool mdiChild = Form->FormStyle() == fsMDIChild;
  const bool framed = border == bsSingle || border == bsSizeable;
  if (acIR) {
    acIR->SetVisible(VisibleClose() && (mdiChild || framed));
    acIR->SetEnabled(EnabledRestore());
  }
  if (acIM) acIM->SetEnabled(Form->WindowState() != wsMaximized);
  if (acIS) {
    acIS->SetVisible(mdiChild || (border != bsNone && border != bsDialog && border != bsToolWindow));
    acIS->SetEnabled(border != bsSingle && !(Form->HandleAllocated() && IsIconic(Form->Handle())));
  }
  if (acIN) {
    acIN->SetVisible(VisibleMin());
    acIN->SetEnabled(EnabledMin());
  }
  if (acIX) {
    acIX->SetVisible(VisibleMax());
    acIX->SetEnabled(EnabledMax());
  }
  if (acIC) acIC->SetVisible(VisibleClose());
}

bool TsSystemMenu::VisibleClose() { return SysMenuStyleRemoved; }

bool TsSystemMenu::VisibleMax() {
  const TFormBorderStyle border = Form->BorderStyle();
  return VisibleClose() && ((Form->HandleAllocated() && IsIconic(Form->Handle())) || Form->FormStyle() == fsMDIChild ||
                            ((border == bsSingle || border == bsSizeable) && (Form->BorderIcons() & biMaximize)));
}

bool TsSystemMenu::VisibleMin() {
  const TFormBorderStyle border = Form->BorderStyle();
  return VisibleClose() && ((Form->HandleAllocated() && IsIconic(Form->Handle())) || Form->FormStyle() == fsMDIChild ||
                            ((border == bsSingle || border == bsSizeable) && (Form->BorderIcons() & biMinimize)));
}

bool TsSystemMenu::EnabledMax() {
  const bool icon = Form->BorderIcons() & biMaximize;
  if (Form->FormStyle() == fsMDIChild) return icon;
  const TFormBorderStyle border = Form->BorderStyle();
  if (Form->WindowState() == wsMaximized || (border != bsSingle && border != bsSizeable)) return false;
  return icon;
}

bool TsSystemMenu::EnabledMin() { return (Form->BorderIcons() & biMinimize) && Form->WindowState() != wsMinimized; }

bool TsSystemMenu::EnabledRestore() {
  return ((Form->BorderIcons() & biMaximize) && Form->WindowState() != wsNormal) || Form->WindowState() == wsMinimized;
}

TacSystemMenu::TacSystemMenu(TacDialogWnd* owner) : TsCustomSysMenu(nullptr), Owner(owner) {
  miRestore = AddItem("Restore", "miRestore", SC_RESTORE, true);
  miMove = AddItem("Move", "miMove", SC_MOVE, false);
  miSize = AddItem("Size", "miSize", SC_SIZE, false);
  miMinimize = AddItem("Minimize", "miMinimize", SC_MINIMIZE, false);
  miMaximize = AddItem("Maximize", "miMaximize", SC_MAXIMIZE, true);
  Items()->Add(NewItem(this, "-"));
  miClose = AddItem("Close", "miClose", SC_CLOSE, false);
  miClose->SetShortCut(ShortCut(VK_F4, scAlt));
}

TMenuItem* TacSystemMenu::AddItem(const char* caption, const char* name, WPARAM command, bool updateAfter) {
  TMenuItem* item = NewItem(this, caption);
  item->SetName(name);
  item->SetTag(static_cast<intptr_t>(command));
  item->OnClick = [this, command, updateAfter](TObject*) {
    if (!Owner || !IsWindow(Owner->Wnd)) return;
    SendMessageW(Owner->Wnd, WM_SYSCOMMAND, command, 0);
    if (updateAfter) UpdateItems();
  };
  Items()->Add(item);
  return item;
}

bool TacSystemMenu::VisibleClose() { return Owner && (Owner->Style & WS_SYSMENU); }

void TacSystemMenu::UpdateItems() {
  if (!Owner) return;
  const TacDialogWnd& d = *Owner;
  const bool zoomed = IsZoomed(d.Wnd), iconic = IsIconic(d.Wnd);
  miRestore->SetVisible(d.RestoreVisible());
  miRestore->SetEnabled(d.RestoreEnabled());
  miMove->SetEnabled(!zoomed);
  miSize->SetVisible(d.FrameKind != 0 && d.FrameKind != 2 && d.FrameKind != 4);
  miSize->SetEnabled(d.FrameKind != 1 && !iconic);
  miMinimize->SetVisible(d.MinVisible());
  miMinimize->SetEnabled(d.MinEnabled());
  miMaximize->SetVisible(d.MaxVisible());
  miMaximize->SetEnabled(d.MaxEnabled());
  miClose->SetVisible(d.CloseVisible());
}
