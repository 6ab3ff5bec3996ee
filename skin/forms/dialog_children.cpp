#include "skin/forms/dialog_children.h"

#include "skin/forms/button_adapters.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/static_adapters.h"
#include "skin/forms/grip_spin_adapters.h"
#include "skin/forms/toolbar_adapter.h"
#include "skin/forms/pane_adapters.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/tab_adapters.h"

namespace {

DialogChildChoice StaticChoice(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_ICON:
    case SS_BITMAP:
      return {DialogChildKind::Icon, "CHECKBOX"};
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
      return {DialogChildKind::Static, "CHECKBOX"};
    default:  // frames, rectangles, owner-drawn and the others the system draws best
      return {};
  }
}

// Read as bits: a default command link (7 set) is a group box, split and command links and the
// other odd types with bit 2 or 4 are check boxes. An owner-drawn button keeps its owner's
// picture: a check box painted over it would hide what the program draws.
DialogChildChoice ButtonChoice(DWORD style) {
  if ((style & BS_TYPEMASK) == BS_OWNERDRAW) return {};
  if ((style & 7) == 7) return {DialogChildKind::GroupBox, "GROUPBOX"};
  if ((style & 6) != 0 || (style & 9) == 9) return {DialogChildKind::CheckBox, "CHECKBOX"};
  return {DialogChildKind::Button, "BUTTON"};
}

}  // namespace

DialogChildChoice ClassifyDialogChild(const std::string& name, DWORD style, bool visible) {
  using K = DialogChildKind;
  if (name == "static") return StaticChoice(style);
  if (name == "button") return ButtonChoice(style);
  if (name == "#32770") return {K::TransPanel, "CHECKBOX"};
  if (name == "tpanel" || name == "tsilentpaintpanel") return {K::DlgPanel, "PANEL"};
  if (name == "combobox" || name == "comboboxex32") return {K::ComboBox, "COMBOBOX", true};
  if (name == "combolbox") return {K::ComboList, "COMBOBOX", true};
  if (name == "scrollbar")
    return style & (SBS_SIZEGRIP | SBS_SIZEBOX) ? DialogChildChoice{K::SizeGrip, "CHECKBOX"} : DialogChildChoice{};
  if (name == "systabcontrol32")
    return style & TCS_OWNERDRAWFIXED ? DialogChildChoice{} : DialogChildChoice{K::TabControl, "PAGECONTROL"};
  if (name == "syslistview32") return {K::ListView, "EDIT"};
  if (name == "msctls_updown32") return {K::Spin, "SPEEDBUTTON_SMALL"};
  if (name == "listbox") return {K::ListBox, "EDIT"};
  if (name == "link window" || name == "syslink") return {K::Link, "CHECKBOX"};
  if (name == "toolbarwindow32") return {K::ToolBar, style & TBSTYLE_WRAPABLE ? "BAR" : "CHECKBOX"};
  if (name == "edit") return {visible ? K::Edit : K::None, "EDIT", true};
  if (name == "systreeview32") return {K::TreeView, "EDIT"};
  if (name.find("shbrowseforfolder") != std::string::npos) return {K::TransPanel, "CHECKBOX"};
  return {};
}

std::unique_ptr<TacMainWnd> CreateDialogChildAdapter(const DialogChildChoice& choice, HWND wnd,
                                                     TsSkinManager* manager) {
  switch (choice.Kind) {
    case DialogChildKind::Icon: return AttachAdapter<TacIconWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::Static: return AttachAdapter<TacStaticWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::Link: return AttachAdapter<TacLinkWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::Button: return AttachAdapter<TacBtnWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::CheckBox: return AttachAdapter<TacCheckBoxWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::GroupBox: return AttachAdapter<TacGroupBoxWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::SizeGrip: return AttachAdapter<TacSizerWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::Spin: {
      auto spin = AttachAdapter<TacSpinWnd>(wnd, nullptr, manager, choice.Section, true);
      spin->ButtonInset = 2;
      return spin;
    }
    case DialogChildKind::ToolBar: return AttachAdapter<TacToolBarWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::TransPanel: return AttachAdapter<TacTransPanelWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::DlgPanel: return AttachAdapter<TacDlgPanelWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::Edit: return AttachAdapter<TacEditWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::ListBox: return AttachAdapter<TacEditWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::ComboList: return AttachAdapter<TacEditWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::ComboBox: return AttachAdapter<TacComboBoxWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::ListView: return AttachAdapter<TacListViewWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::TabControl: return AttachAdapter<TacTabControlWnd>(wnd, nullptr, manager, choice.Section, true);
    case DialogChildKind::TreeView: return AttachAdapter<TacTreeViewWnd>(wnd, nullptr, manager, choice.Section, true);
    default: return nullptr;
  }
}
