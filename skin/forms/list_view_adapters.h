// Window adapters of the list-type common controls of standard dialogs: the list view
// ("syslistview32", the file list of the file dialogs) and the tree view ("systreeview32").
// Both keep the skinned frame and scroll bars of the edit adapter and take the skin's
// colours (a standard dialog's keep the window colours on a flat frame). The list view also
// paints its column header in report view from COLHEADER (BUTTON in a skin without it),
// with hot and pressed columns and sort arrows, and scrolls itself by whole items while
// its skinned thumb is dragged.
//
//   auto files = AttachAdapter<TacListViewWnd>(list, nullptr, manager, "EDIT", true);
//   files->HeaderWnd;   // the header it paints, once report view made one
//
// The header's procedure is taken over as the window's is: through a property, given back
// only while still ours, and never after the header went away.
#pragma once

#include "skin/forms/edit_wnd.h"

class TBitmap;

class TacListViewWnd : public TacEditWnd {
 public:
  TacListViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  ~TacListViewWnd() override;

  void SaveStdLook() override;
  void RestoreStdLook() override;
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;

  enum class View { Icon, Report, SmallIcon, List };
  View ViewStyle() const;

  void HookHeader(HWND header);
  void UnhookHeader();
  // The header's messages, in report view.
  void HeaderWndProc(TMessage& message);
  // Every column into dc (the header's client DC), then the filler right of the last one.
  void PaintHeader(HDC dc);
  // 0 normal, 1 hot, 2 pressed; the filler (-2) is always normal.
  int HeaderItemState(int index) const;

  HWND HeaderWnd = nullptr;
  int HeaderDownIndex = -1;
  int HeaderHotIndex = -1;

 private:
  void PaintHeaderItem(HDC dc, int index, const RECT& rect);
  bool HandleThumbTrack(TMessage& message);
  void RepaintHeader();
  TColor SavedTextBkColor = 0;
};

class TacTreeViewWnd : public TacEditWnd {
 public:
  using TacEditWnd::TacEditWnd;
  void RestoreStdLook() override;
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;
  // The colour the tree is filled with: the window colour in a standard dialog, else the
  // section's hot colour.
  TColor FillColour() const;
};
