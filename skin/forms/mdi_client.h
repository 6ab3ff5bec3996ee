// The skinning of an MDI parent's client window. The form's provider keeps a TsMDIForm while
// the form is an MDI parent; it puts a TacMDIWnd on the client window, which shows the part
// of the form's frame image under it (the MDIAREA section), a two-pixel border from the same
// image and skinned scroll bars.
//
//   provider->UpdateMDIForm(true);      // MDIForm made, MDISkinProvider set, client hooked
//   provider->MDIForm->ConnectToClient();   // again after a skin came: hooks once
//
// The adapter lives only while the skin is active: HookClient replaces it, UnhookClient
// frees it with its own skin data. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/forms/base_wnd.h"

class TForm;
class TsCommonData;
class TsSkinProvider;

class TacMDIWnd : public TacBaseWnd {
 public:
  using TacBaseWnd::TacBaseWnd;
  ~TacMDIWnd() override;
  void AdapterWndProc(TMessage& message) override;

  // The client window's rectangle in the frame image's coordinates.
  RECT ClientRectInImage() const;
  // The frame image under the client window into dc (client coordinates); shifted past the
  // client edge unless printing.
  void PaintMDIArea(HDC dc, bool printing);
  // The two-pixel client edge from the frame image into the client's window DC.
  void PaintClientBorder(HDC dc);
  // The bars lie over the form's picture where the client window is.
  CacheSourceInfo BarBackground() const override;

  TForm* Form = nullptr;
  TsCommonData* FormSkinData = nullptr;
  TsSkinProvider* Provider = nullptr;

 private:
  bool FormSkinned() const;
  bool MaximizedChild() const;
  bool ImageShared() const;
  void Arranged(TMessage& message);
  bool ActiveChildMaximized(HWND besides) const;
  void ChildCreated(HWND child, bool besideMaximized);
  void AfterBaseProc(TMessage& message);
};

class TsMDIForm {
 public:
  // Makes the form's window, and with it the client window.
  explicit TsMDIForm(TsSkinProvider* provider);
  ~TsMDIForm();
  TsMDIForm(const TsMDIForm&) = delete;
  TsMDIForm& operator=(const TsMDIForm&) = delete;

  // HookClient unless an adapter is there already.
  void ConnectToClient();
  // A new adapter on the client while the provider's skin is active; none otherwise.
  void HookClient();
  void UnhookClient();
  // The form builds and repaints its frame again.
  void RefreshFrame();

  TForm* Form = nullptr;
  std::unique_ptr<TacMDIWnd> ClientAdapter;
  TsSkinProvider* SkinProvider = nullptr;
};

// The provider of the application's MDI parent form, or nullptr.
extern TsSkinProvider* MDISkinProvider;
// The provider of the MDI child whose buttons the parent's menu line shows, or nullptr.
extern TsSkinProvider* ActiveMDIChildProvider;
// An MDI child is being made while the active one is maximized: it maximizes itself at its
// first erase or paint, and restoring waits till then.
extern bool MaximizePending;
// The MDI parent builds its frame again and redraws it with its client window (now, when
// `repaint`).
void RefreshMDIParentFrame(bool repaint);
