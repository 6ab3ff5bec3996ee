// The skinned combo box (the settings dialog's equalizer presets). With an active skin the
// closed box is painted from an off-screen image: the "COMBOBOX" section (unless SkinSection
// is set), a drop-down button from the "COMBOBTN" section with the section's arrow
// (GLYPHMASK) on it, pressed while the list is open, and the current text. A drop-down box
// leaves its edit to the system only while the user types in it; the open list takes the
// section's colours. Without a skin it is the framework's combo box, apart from ReadOnly.
//
//   sComboBox1 = efir::Place(new TsComboBox(this), panel, 32, 114, 160, 21);
//   sComboBox1->Items().Add("rock");
//   sComboBox1->OnSelect = ...;     // Text() is already the chosen item
//   sComboBox1->SetReadOnly(true);  // shows its text; keys, mouse and paste change nothing
//
// A long list (more items than DropDownCount) is handed, on its first paint, to the list
// adapter the window-skinning library registers with SetComboListAdapterFactory; the box
// owns the adapter until its skin goes or it is freed.
#pragma once

#include <functional>
#include <memory>

#include "framework/stdctrls.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/skinned_control.h"

// What the window-skinning library attaches to a drop-down list window.
class TsComboListAdapter {
 public:
  virtual ~TsComboListAdapter() = default;
  // The box's own manager brought a new skin (SKC_NEWSKIN).
  virtual void SkinCommand(TMessage& /*Message*/) {}
};

struct TsComboListRequest {
  HWND List;                 // the drop-down list window
  TsSkinManager* Manager;    // the box's manager
  const char* Section;       // the section the list paints from
  bool Simple;               // the list is always shown under the edit
};
using TsComboListAdapterFactory = std::function<std::unique_ptr<TsComboListAdapter>(const TsComboListRequest&)>;
// nullptr: long lists keep the system's scroll bar.
void SetComboListAdapterFactory(TsComboListAdapterFactory factory);

class TsComboBox : public TsSkinnedControl<TComboBox> {
 public:
  explicit TsComboBox(TComponent* AOwner);
  ~TsComboBox() override;

  // Of the text in the closed box.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The user can neither type, paste nor choose; code still can.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  // The drop-down list is open.
  bool ListShown() const { return listShown_; }
  TsComboListAdapter* ListAdapter() const { return listAdapter_.get(); }

  // The drop-down button, in the control's coordinates.
  RECT ButtonRect();
  // 2 while the list is open, 1 hot, else 0.
  int ButtonState();
  // The focus is in the box, its edit or its list.
  bool FocusInside();
  void PrepareCache() override;
  void WndProc(TMessage& Message) override;

  std::unique_ptr<TsBoundLabel> BoundLabel;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  bool SkinCommand(TMessage& Message) override;
  void SkinChanged(WORD subCommand) override;
  bool SkinnedMessage(TMessage& Message) override;

 private:
  static LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  LRESULT ChildMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Subclasses (or gives back) the edit and list windows of the system box.
  void HookChildren();
  void UnhookChildren();
  // Keys and clicks a read-only box drops; true when dropped.
  bool ReadOnlyDrops(const TMessage& Message);
  // The system draws the edit (the user is typing in it).
  bool EditShowsItself();
  void PaintButton(TBitmap* cache);
  void PaintText(TBitmap* cache);
  void PaintToDC(HDC given);
  // Paints the part of the image under the edit into the edit's window.
  void PaintEditFromCache(HWND edit);
  void FocusMoved(HWND newFocus);
  void MouseEntered(bool entering);
  // Rebuilds and shows the image, in the box and under the edit.
  void LookChanged();
  void TakeSectionColours();
  void ReleaseListAdapter();

  TAlignment alignment_ = taLeftJustify;
  bool readOnly_ = false;
  bool listShown_ = false;
  HWND edit_ = nullptr;
  HWND list_ = nullptr;
  std::unique_ptr<TsComboListAdapter> listAdapter_;
};
