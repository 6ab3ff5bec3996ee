// A status bar at the bottom of a form, on the system's status bar: a row of panels of given
// widths with a text each, or one simple panel across the whole bar.
//
//   auto* bar = new TStatusBar(this);
//   bar->SetParent(this);                  // aligned to the bottom of its parent
//   bar->AddPanel("Готово", 120);
//   bar->AddPanel("", 80, taRightJustify);
//   bar->SetPanelText(1, "128 кбит/с");
//   bar->SetSimplePanel(true);             // SimpleText across the whole bar instead
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/stdctrls.h"

struct TStatusPanel {
  std::string Text;
  int Width = 50;
  TAlignment Alignment = taLeftJustify;
};

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* AOwner);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const TStatusPanel& Panels(int index) const { return panels_.at(static_cast<size_t>(index)); }
  void AddPanel(const std::string& text, int width, TAlignment alignment = taLeftJustify);
  void SetPanelText(int index, const std::string& text);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& value);
  // Pixels kept free inside the bar's edge.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  void UpdateParts();

  std::vector<TStatusPanel> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  int borderWidth_ = 0;
};
