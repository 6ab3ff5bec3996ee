// The adapters of a standard combo box and of its drop-down list. The combo box paints its
// own field and text; TacComboBoxWnd puts a 3-pixel skinned frame round it and the drop
// button from "COMBOBTN" with the "COMBOBOX" arrow glyph, and adapts the list window the
// first time the list asks for its colours. TacComboListWnd gives the list a plain frame and
// the skinned scroll bars.
//
//   auto combo = AttachAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "COMBOBOX", true);
//   SendMessageW(wnd, CB_SHOWDROPDOWN, TRUE, 0);      // combo->ListAdapter now skins the list
//
// The combo adapter owns its list adapter and the brush it answers the list's colours with.
#pragma once

#include <memory>

#include "framework/gdi.h"
#include "skin/forms/edit_wnd.h"

class TBitmap;
class TWinControl;

class TacComboListWnd : public TacEditWnd {
 public:
  // Always with its own skin data, section "EDIT".
  TacComboListWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void AdapterWndProc(TMessage& message) override;
  // A drop-down list keeps the mouse after a press on its bars: the combo tracks through it.
  bool KeepsCaptureOnRelease() const override;

  bool ListShown = false;    // the combo box tracks its open list
  bool SimpleStyle = false;  // CBS_SIMPLE: the list is always shown inside the combo window

 private:
  // The cache as a plain frame: FillColor inside a 1-pixel OutlineColor line.
  void PrepareListCache();
  // The simple combo's strip below its list shows the combo's parent, as around the combo.
  void FillStripBelowList();
  bool HandleListMessage(TMessage& message);
};

class TacComboBoxWnd : public TacEditWnd {
 public:
  using TacEditWnd::TacEditWnd;
  ~TacComboBoxWnd() override;
  void AdapterWndProc(TMessage& message) override;

  // The drop button in window coordinates (empty width for a simple combo box).
  virtual RECT DropButtonBounds() const;
  // 2 while the list shows, 1 when hot, else 0.
  int DropButtonState() const;
  void PaintDropButton(HDC dc);

  HWND ListWnd = nullptr;
  std::unique_ptr<TacComboListWnd> ListAdapter;

 protected:
  // A drop button `width` wide at the right end (the left one for right-to-left reading).
  RECT DropButtonBoundsOfWidth(int width) const;

 private:
  bool SimpleCombo() const;
  // The cache of a simple combo box: its edit field's height, framed.
  void PrepareSimpleCache();
  void Paint(TMessage& message);
  void Print(TMessage& message);
  void PaintTextInto(TBitmap& cache);
  void AdaptList(TMessage& message);

  efir::gdi::Object<HBRUSH> listBrush_;
};

// The combo adapter of the edit combos a layout names in its list: whether a drop button is
// drawn follows the control (a TComboBox has one in both its styles; any other class always).
//
//   auto combo = std::make_unique<TacWWComboBoxWnd>(control, nullptr, manager, "COMBOBOX");
//   combo->Attach(true);
class TacWWComboBoxWnd : public TacComboBoxWnd {
 public:
  TacWWComboBoxWnd(TWinControl* control, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  RECT DropButtonBounds() const override;

  bool HasDropButton = true;
};

// Lets the engine's skinned combo box hand its long drop-down lists to TacComboListWnd
// (once, at the start of window skinning).
void RegisterComboListAdapters();
