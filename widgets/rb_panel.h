// The styled panel of both programs' dialogs: a container with rounded corners and a border
// of its own colour and width. It is a framework panel whose corner and border settings are
// kept for the styled painting that comes with the panel's own work.
//
//   RbPanel1 = new TRbPanel(this);
//   RbPanel1->SetParent(this);
//   RbPanel1->SetCornerRadius(10);
#pragma once

#include "framework/stdctrls.h"

class TRbPanel : public TPanel {
 public:
  explicit TRbPanel(TComponent* AOwner);

  int CornerRadius() const { return cornerRadius_; }
  void SetCornerRadius(int value) { cornerRadius_ = value; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { borderColor_ = value; }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value) { borderWidth_ = value; }

 private:
  int cornerRadius_ = 0;
  TColor borderColor_ = clWhite;
  int borderWidth_ = 0;
};
