// The control adapter of a form skin provider: it skins the framework controls of the form
// that are not skinned controls themselves. A windowed control whose class name stands in one
// of the manager's ThirdParty lists gets the window adapter of that list; a plain framework
// label is made see-through in the skin's font colour. One item a control, whatever the
// number of walks.
//
//   provider.CtrlAdapter = std::make_unique<TacCtrlAdapter>(&provider);
//   provider.CtrlAdapter->AdaptControls(nullptr);   // the whole form, again at any time
//
// A control whose window was made anew has a detached adapter: the next walk (or AddControl)
// puts a new one on it. Nothing happens without srThirdParty in the manager's rules. GUI
// thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TacMainWnd;
class TComponent;
class TControl;
class TWinControl;
class TsCommonData;
class TsSkinProvider;
struct TacGraphItem;

// One adapted windowed control.
struct TacAdapterItem {
  TacAdapterItem();
  ~TacAdapterItem();
  TWinControl* Ctrl = nullptr;
  std::unique_ptr<TsCommonData> SkinData;
  std::unique_ptr<TacMainWnd> WndAdapter;
};

class TacCtrlAdapter {
 public:
  explicit TacCtrlAdapter(TsSkinProvider* provider);
  ~TacCtrlAdapter();
  TacCtrlAdapter(const TacCtrlAdapter&) = delete;
  TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;

  // Walks the components and child controls of `parent` (nullptr: the form), at every depth.
  void AdaptControls(TWinControl* parent);
  bool AcceptControl(TControl* control);
  void AddControl(TComponent* control) { AddControlWithSection(control, DefaultSection); }
  void AddControlWithSection(TComponent* control, std::string section);
  // Frees the items whose window adapter is missing or detached.
  void RemoveDeadItems();
  void ClearItems();
  // Sends the message to every control whose adapter is attached.
  void BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  int Count() const { return static_cast<int>(Items.size()); }
  // The item of the control, or nullptr.
  TacAdapterItem* ItemOf(const TControl* control);
  // Gives a speed button a skinning handler (speed_button_handler.h); nothing calls it by itself.
  void AddGraphicControl(TControl* control);

  std::string DefaultSection;
  std::vector<std::unique_ptr<TacAdapterItem>> Items;
  std::vector<std::unique_ptr<TacGraphItem>> GraphItems;
  TsSkinProvider* Provider;

 private:
  void HookControlAdapter(TacAdapterItem& item, TWinControl* control);
  void AdaptOne(TComponent* component, bool childPass);
};

// True while a walk runs: a walk started meanwhile does nothing.
extern bool AdaptingControls;
