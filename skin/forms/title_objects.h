// The small objects a skinned form publishes for its caption: the icon override
// (TsTitleIcon), the user title buttons drawn left of the system buttons (TsTitleButtons of
// TsTitleButton, hit codes 1000 + index) and a second text after the caption
// (TacAddedTitle). The provider lays them out and paints them with the frame.
//
//   TsTitleButton& pin = provider->TitleButtons.Add();
//   pin.Hint = "Pin";                 // shown while the button is hot
//   pin.OnMouseUp = [](TObject*, TMouseButton, TShiftState, int, int) { ... };
//   provider->AddedTitle.SetText("- connected");
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics_objects.h"
#include "framework/hint_window.h"
#include "skin/forms/dialog_wnd.h"

class TsSkinProvider;

// Picture drawn instead of the form's icon (key colour 0xFF00FF unless 32-bit with alpha).
class TsTitleIcon {
 public:
  TBitmap Glyph;
  int Width = 0;   // 0: derived from the caption height
  int Height = 0;
};

class TsTitleButton : public TObject {
 public:
  TsTitleButton();
  ~TsTitleButton() override;
  TsTitleButton(const TsTitleButton&) = delete;
  TsTitleButton& operator=(const TsTitleButton&) = delete;

  bool UseSkinData = true;  // the skin's "TITLEBUTTON" picture behind the glyph
  std::string Name = "TsTitleButton";
  TBitmap Glyph;            // centred; 32-bit with alpha, else its bottom-left pixel is transparent
  bool Enabled = true;
  std::string Hint;
  TMouseEvent OnMouseDown, OnMouseUp;

  bool Visible() const { return visible_; }
  // Takes part in the layout or not; the owner's frame is repainted at once.
  void SetVisible(bool value);
  const std::string& GetDisplayName() const { return Name; }
  // Everything but Visible goes to `dest`.
  void AssignTo(TsTitleButton& dest) const;
  void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);

  std::unique_ptr<THintWindow> HintWindow;
  TitleButtonData Data;
  TsSkinProvider* Provider = nullptr;

 private:
  bool visible_ = true;
};

class TsTitleButtons {
 public:
  explicit TsTitleButtons(TsSkinProvider* provider) : provider_(provider) {}

  TsTitleButton& Add();
  void Delete(int index);
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  TsTitleButton& Items(int index) { return *items_[static_cast<size_t>(index)]; }
  const TsTitleButton& Items(int index) const { return *items_[static_cast<size_t>(index)]; }
  TsSkinProvider* GetOwner() const { return provider_; }

 private:
  TsSkinProvider* provider_;
  std::vector<std::unique_ptr<TsTitleButton>> items_;
};

// A user button's hint fades in through the system's own window animation, and only where
// the system fades its tooltips (both settings on) and the text is short (below 100 characters).
bool TitleHintFades(size_t hintLength, bool tooltipAnimation, bool tooltipFade);
// The system's tooltip settings as TitleHintFades reads them.
bool SystemTooltipsFade(size_t hintLength);

// A second text drawn after the caption, in its own font (clNone: the title's font colour).
class TacAddedTitle {
 public:
  explicit TacAddedTitle(TsSkinProvider* provider);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  TFont& Font() { return font_; }
  // Call after changing Font(): the caption is drawn again.
  void Changed();

 private:
  TsSkinProvider* provider_;
  std::string text_;
  TFont font_;
};
