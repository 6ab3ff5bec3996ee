// The program's icon in the notification area. While Active (and given an icon) it keeps the
// icon there with the short part of Hint (the text before the first "|", at most 63
// characters) as its tool tip, and turns the shell's mouse notifications into events: a right
// click opens PopupMenu, a double click clicks the menu's default item. With Animated and a
// list of Icons it cycles through them every Interval milliseconds.
//
//   RxTrayIcon1 = new TRxTrayIcon(this);
//   RxTrayIcon1->Icon().LoadFromFile("player.ico");
//   RxTrayIcon1->SetHint("Эфирушка Плюс");
//   RxTrayIcon1->SetPopupMenu(PopupMenu1);
//   RxTrayIcon1->SetActive(false);            // gone from the notification area
//
// The shell reports to Handle(), a hidden window, with the message WM_TRAYNOTIFY whose
// lParam is the mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...).
#pragma once

#include "framework/controls.h"
#include "framework/picture_icon.h"
#include "widgets/icon_list.h"

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPopupMenu;
class TTimer;

constexpr UINT WM_TRAYNOTIFY = 0xB054;

class TRxTrayIcon : public TComponent {
 public:
  explicit TRxTrayIcon(TComponent* AOwner);
  ~TRxTrayIcon() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  // Off: mouse notifications are ignored.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  // The static icon; a change shows it at once.
  TIcon& Icon() { return icon_; }
  void SetIcon(const TIcon& value) { icon_.Assign(value); }
  TIconList& Icons() { return icons_; }
  bool Animated() const { return animated_; }
  // On only while Icons has entries.
  void SetAnimated(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // The hidden window the shell reports to.
  HWND Handle() const { return window_; }
  // Whether the icon is in the notification area now.
  bool Added() const { return added_; }

  TMouseEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

 protected:
  // The record handed to the shell, filled from the current icon and hint.
  virtual void FillNotifyData(NOTIFYICONDATAW& data);
  // Hands the record to the shell; true when it accepted.
  virtual bool Notify(DWORD message, NOTIFYICONDATAW& data);
  virtual void Click(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DblClick();
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void TrayNotify(UINT mouseMessage);
  TIcon* CurrentIcon();
  void ShowTrayIcon();
  void HideTrayIcon();
  void UpdateTrayIcon();
  void AdvanceFrame();
  bool ShowPopupMenu(int X, int Y);
  bool ClickDefaultItem();

  HWND window_ = nullptr;
  bool active_ = true;
  bool enabled_ = true;
  bool destroying_ = false;
  std::string hint_;
  TIcon icon_;
  TIconList icons_;
  bool animated_ = false;
  unsigned interval_ = 150;
  int iconIndex_ = -1;
  std::unique_ptr<TTimer> animation_;
  TPopupMenu* popupMenu_ = nullptr;
  bool added_ = false;
  bool leftPressed_ = false;
  bool rightPressed_ = false;
  NOTIFYICONDATAW notifyData_{};
};
