// The programs' file dialogs (the player's Save dialog for recordings, the editor's Open
// dialog for logos) under a skin, driven from a timer while the system runs them: every
// child the dialog skinning knows carries the adapter of its kind, the file list's column
// header in report view is drawn from the skin, and a name typed into the skinned file-name
// edit comes back whole, characters outside Windows-1251 included.
#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/text_encoding.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/dialog_children.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/grip_spin_adapters.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/pane_adapters.h"
#include "skin/forms/static_adapters.h"
#include "skin/forms/tests/template_dialog.h"
#include "skin/forms/toolbar_adapter.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The visible standard dialog of this thread that holds a tool bar: a file dialog.
HWND VisibleFileDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        if (WindowClassLower(window) != "#32770" || !IsWindowVisible(window) ||
            !HasDescendantOfClass(window, "toolbarwindow32"))
          return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs the dialog through `run` (GetSaveFileNameW or GetOpenFileNameW) with the options the
// programs use, calls `inside` once with the dialog while it is shown, and gives the chosen
// name (empty when cancelled). `inside` ends the dialog, else it is cancelled.
std::wstring RunFileDialog(BOOL(WINAPI* run)(OPENFILENAMEW*), const std::wstring& filter,
                           const std::wstring& folder, const std::function<void(HWND)>& inside) {
  static std::function<void(HWND)> pending;
  pending = inside;
  UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = VisibleFileDialog();
    if (!dialog || !pending) return;
    KillTimer(nullptr, id);
    auto body = std::move(pending);
    pending = nullptr;
    body(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  std::vector<wchar_t> file(4096, L'\0');
  OPENFILENAMEW options{};
  options.lStructSize = sizeof options;
  options.lpstrFilter = filter.c_str();
  options.nFilterIndex = 1;
  options.lpstrFile = file.data();
  options.nMaxFile = static_cast<DWORD>(file.size());
  options.lpstrInitialDir = folder.c_str();
  options.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
  const bool chosen = run(&options);
  KillTimer(nullptr, timer);
  pending = nullptr;
  return chosen ? std::wstring(file.data()) : std::wstring();
}

// The adapter a child of the kind must carry.
bool AdapterFits(DialogChildKind kind, TacMainWnd* adapter) {
  using K = DialogChildKind;
  switch (kind) {
    case K::Icon: return dynamic_cast<TacIconWnd*>(adapter);
    case K::Static: return dynamic_cast<TacStaticWnd*>(adapter);
    case K::Link: return dynamic_cast<TacLinkWnd*>(adapter);
    case K::Button: return dynamic_cast<TacBtnWnd*>(adapter);
    case K::CheckBox: return dynamic_cast<TacCheckBoxWnd*>(adapter);
    case K::GroupBox: return dynamic_cast<TacGroupBoxWnd*>(adapter);
    case K::ComboBox: return dynamic_cast<TacComboBoxWnd*>(adapter);
    case K::ComboList:
    case K::ListBox:
    case K::Edit: return dynamic_cast<TacEditWnd*>(adapter);
    case K::SizeGrip: return dynamic_cast<TacSizerWnd*>(adapter);
    case K::Spin: return dynamic_cast<TacSpinWnd*>(adapter);
    case K::ListView: return dynamic_cast<TacListViewWnd*>(adapter);
    case K::TreeView: return dynamic_cast<TacTreeViewWnd*>(adapter);
    case K::ToolBar: return dynamic_cast<TacToolBarWnd*>(adapter);
    case K::TransPanel: return dynamic_cast<TacTransPanelWnd*>(adapter);
    case K::DlgPanel: return dynamic_cast<TacDlgPanelWnd*>(adapter);
    default: return false;
  }
}

// Every descendant the child table gives an adapter carries "ACSBSC" and that adapter.
void ExpectEveryChildAdapted(HWND dialog) {
  int adapted = 0;
  for (HWND child : Descendants(dialog)) {
    const std::string kind = WindowClassLower(child);
    const DialogChildChoice choice =
        ClassifyDialogChild(kind, static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)), IsWindowVisible(child));
    if (choice.Kind == DialogChildKind::None) continue;
    SCOPED_TRACE(kind + " " + std::to_string(GetDlgCtrlID(child)));
    EXPECT_NE(GetPropW(child, kAdapterProperty), nullptr);
    EXPECT_TRUE(AdapterFits(choice.Kind, AdapterOfWindow(child)));
    EXPECT_TRUE(IsWindowUnicode(child));
    ++adapted;
  }
  EXPECT_GT(adapted, 10);
}

HWND FirstOfClass(HWND dialog, const std::string& kind) {
  for (HWND child : Descendants(dialog))
    if (WindowClassLower(child) == kind) return child;
  return nullptr;
}

// The tool bar with the view buttons: a row (the places bar is a column).
HWND ViewToolBar(HWND dialog) {
  for (HWND child : Descendants(dialog)) {
    RECT r;
    GetWindowRect(child, &r);
    if (WindowClassLower(child) == "toolbarwindow32" && r.right - r.left > r.bottom - r.top) return child;
  }
  return nullptr;
}

// Clicks the view tool bar's last button (the details view) as the mouse does.
void ClickDetailsButton(HWND dialog) {
  HWND bar = ViewToolBar(dialog);
  ASSERT_NE(bar, nullptr);
  const auto last = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)) - 1;
  RECT r{};
  SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(bar, WM_LBUTTONUP, 0, at);
}

// The file-name edit: the edit inside the dialog's combo boxes that is shown.
HWND FileNameEdit(HWND dialog) {
  for (HWND child : Descendants(dialog))
    if (WindowClassLower(child) == "edit" && IsWindowVisible(child)) return child;
  return nullptr;
}

void Type(HWND edit, const std::wstring& text) {
  PostMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

const std::wstring kRecordingFilter(L"MP3 files (*.mp3)\0*.mp3\0\0", 26);
const std::wstring kLogoFilter = std::wstring(L"Графические файлы") + L'\0' + L"*.jpg;*.png;*.gif" + L'\0' + L'\0';

class FileDialogTest : public ::testing::Test {
 protected:
  FileDialogTest() : folder("file_dialogs"), where(text::fromAnsi(GetCurrentDir() + "\\file_dialogs")) {
    for (const char* name : {"вечер.mp3", "утро.mp3", "logo.png"}) {
      std::FILE* file = std::fopen(("file_dialogs\\" + std::string(name)).c_str(), "wb");
      if (file) std::fclose(file);
    }
  }
  ScratchFolder folder;
  std::wstring where;
};

TEST_F(FileDialogTest, SaveDialogIsSkinnedThroughoutAndKeepsACjkName) {
  DialogSkin skin(ControlSkinExtras());
  const std::wstring name = L"\u4E2D\u6587 \u0416\u0438\u0437\u043D\u044C.mp3";
  const std::wstring chosen = RunFileDialog(GetSaveFileNameW, kRecordingFilter, where, [&](HWND dialog) {
    ASSERT_NE(AdapterOfWindow(dialog), nullptr);
    ExpectEveryChildAdapted(dialog);
    HWND list = FirstOfClass(dialog, "syslistview32");
    ASSERT_NE(list, nullptr);
    ClickDetailsButton(dialog);
    ASSERT_TRUE(pumpUntil([&] { return SendMessageW(list, LVM_GETVIEW, 0, 0) == LV_VIEW_DETAILS; }, 3000))
        << "the details button switched the file list to report view";
    auto* files = dynamic_cast<TacListViewWnd*>(AdapterOfWindow(list));
    ASSERT_NE(files, nullptr);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header && IsWindowVisible(header));
    EXPECT_EQ(files->HeaderWnd, header);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    pumpFor(200);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT column{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&column));
    const Image shot = captureWindow(header);
    EXPECT_EQ(shot.at(column.left, column.top), static_cast<COLORREF>(ctl::Rim[0])) << "COLHEADER's rim";
    EXPECT_EQ(shot.at(column.left + ctl::RimWidth + 1, column.bottom - ctl::RimWidth - 1),
              static_cast<COLORREF>(ctl::Header[0]));
    saveScreenshot(dialog, "skinned_save_dialog_details");

    HWND edit = FileNameEdit(dialog);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(dynamic_cast<TacEditWnd*>(AdapterOfWindow(edit)), nullptr);
    Type(edit, name);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(chosen, where + L"\\" + name);
}

// Both dialogs in the programs' own skin, for a person to look at.
TEST_F(FileDialogTest, BothDialogsShowTheProgramsSkin) {
  StartWindowSkinning();
  TsSkinManager manager(nullptr);
  UseSkin(manager, SkinsFolder(), "EfirNight");
  const struct {
    BOOL(WINAPI* Run)(OPENFILENAMEW*);
    const std::wstring& Filter;
    const char* Screenshot;
  } dialogs[] = {{GetSaveFileNameW, kRecordingFilter, "skinned_save_dialog"},
                 {GetOpenFileNameW, kLogoFilter, "skinned_open_dialog"}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.Screenshot);
    RunFileDialog(d.Run, d.Filter, where, [&](HWND dialog) {
      ExpectEveryChildAdapted(dialog);
      pumpFor(200);
      saveScreenshot(dialog, d.Screenshot);
    });
  }
  manager.SetActive(false);
}

}  // namespace
}  // namespace efir::test
