// The styled controls' shared style component and colour sets. A colour set owned by a
// control re-renders that control when one of its colours changes; the style manager keeps
// the list of controls that name it (their RbStyleManager) and shared values for them.
//
//   auto* colors = new TRbControlColors(panel);     // owned by the caller, tied to `panel`
//   colors->SetDefaultTo(0xD1BEAF);                 // panel->RenderControl()
//   panel->SetRbStyleManager(manager);              // manager->RegisterControl(panel)
#pragma once

#include "framework/component.h"
#include "framework/graphics_objects.h"

#include <vector>

class TRbCustomControl;

enum TFadeSpeed { fsSlow, fsMedium, fsFast, fsVeryFast };

// The four colours of a gradient face, normal (Default) and under the pointer (Over).
class TRbCustomColors {
 public:
  TRbCustomColors() = default;
  virtual ~TRbCustomColors() = default;
  TRbCustomColors(const TRbCustomColors&) = delete;
  TRbCustomColors& operator=(const TRbCustomColors&) = delete;

  TColor DefaultFrom() const { return defaultFrom_; }
  void SetDefaultFrom(TColor value) { Store(defaultFrom_, value); }
  TColor DefaultTo() const { return defaultTo_; }
  void SetDefaultTo(TColor value) { Store(defaultTo_, value); }
  TColor OverFrom() const { return overFrom_; }
  void SetOverFrom(TColor value) { Store(overFrom_, value); }
  TColor OverTo() const { return overTo_; }
  void SetOverTo(TColor value) { Store(overTo_, value); }

  // Copies the colours both sets have.
  virtual void Assign(const TRbCustomColors& source);

 protected:
  // A colour changed.
  virtual void Changed() {}
  void Store(TColor& field, TColor value);

 private:
  TColor defaultFrom_ = 0xFFFFFF;
  TColor defaultTo_ = 0xD1BEAF;
  TColor overFrom_ = 0xFFFFFF;
  TColor overTo_ = 0xBE9476;
};

class TRbControlColors : public TRbCustomColors {
 public:
  // `control` (or nullptr) is re-rendered on every change.
  explicit TRbControlColors(TRbCustomControl* control = nullptr) : control_(control) {}

  TColor ClickedFrom() const { return clickedFrom_; }
  void SetClickedFrom(TColor value) { Store(clickedFrom_, value); }
  TColor ClickedTo() const { return clickedTo_; }
  void SetClickedTo(TColor value) { Store(clickedTo_, value); }
  // These two only repaint the control.
  TColor HotTrack() const { return hotTrack_; }
  void SetHotTrack(TColor value);
  TColor TextShadow() const { return textShadow_; }
  void SetTextShadow(TColor value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { Store(borderColor_, value); }

  void Assign(const TRbCustomColors& source) override;

 protected:
  void Changed() override;

 private:
  void Repaint(TColor& field, TColor value);

  TRbCustomControl* control_;
  TColor clickedFrom_ = 0xC6CFD6;
  TColor clickedTo_ = 0xEBF3F7;
  TColor hotTrack_ = 0xFF0000;
  TColor borderColor_ = 0x808080;
  TColor textShadow_ = 0xFFFFFF;
};

struct TRbSplitterFace;

// A splitter bar's colours: the face colour for the normal state. Tied to a splitter's face
// (rb_splitter_face.h), every change draws the face anew.
class TRbSplitterColors : public TRbCustomColors {
 public:
  explicit TRbSplitterColors(TRbSplitterFace* face = nullptr) : face_(face) {
    SetDefaultFrom(clBtnFace);
    SetDefaultTo(clBtnFace);
  }

 protected:
  void Changed() override;

 private:
  TRbSplitterFace* face_;
};

class TRbStyleManager : public TComponent {
 public:
  explicit TRbStyleManager(TComponent* AOwner) : TComponent(AOwner) {}

  TRbControlColors& Colors() { return colors_; }
  TRbSplitterColors& SplitterColors() { return splitterColors_; }
  TFont& Font() { return font_; }
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value) { showFocusRect_ = value; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  bool GradientBorder() const { return gradientBorder_; }
  void SetGradientBorder(bool value) { gradientBorder_ = value; }
  bool TextShadow() const { return textShadow_; }
  void SetTextShadow(bool value) { textShadow_ = value; }
  TColor CheckColor() const { return checkColor_; }
  void SetCheckColor(TColor value) { checkColor_ = value; }
  TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  void SetFadeSpeed(TFadeSpeed value) { fadeSpeed_ = value; }
  TColor PanelColor() const { return panelColor_; }
  void SetPanelColor(TColor value) { panelColor_ = value; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { borderColor_ = value; }

  // The controls that name this manager (not owned).
  const std::vector<TRbCustomControl*>& Controls() const { return controls_; }
  void RegisterControl(TRbCustomControl* control);
  void UnregisterControl(TRbCustomControl* control);

  void Assign(TRbStyleManager& source);

 private:
  TRbControlColors colors_;
  TRbSplitterColors splitterColors_;
  TFont font_;
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool gradientBorder_ = true;
  bool textShadow_ = true;
  TColor checkColor_ = 0x008000;
  TFadeSpeed fadeSpeed_ = fsMedium;
  TColor panelColor_ = 0xE3DFDF;
  TColor borderColor_ = 0x808080;
  std::vector<TRbCustomControl*> controls_;
};
