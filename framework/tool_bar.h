// A tool bar on the system's tool bar: a row of tool buttons with images from image lists,
// optional captions (under the images, or beside them in list mode), check buttons and
// drop-down buttons that open a popup menu, separators and dividers.
//
//   auto* bar = efir::Place(new TToolBar(this), this, 0, 0, 300, 30);
//   bar->SetImages(imageList);
//   auto* play = bar->AddButton("Играть", 0);
//   play->OnClick = [this](TObject*) { Play(); };
//   bar->AddButton("", -1, tbsSeparator);
//
// Whoever draws the bar itself sets OnAdvancedCustomDraw (the whole bar, before the buttons) and
// OnAdvancedCustomDrawButton (each button), with the bar's Canvas bound to the paint DC;
// DefaultDraw left true lets the system control draw.
#pragma once

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"

class TPopupMenu;
class TToolBar;

// Told to the tool bar after the popup menu of a drop-down button has closed.
constexpr UINT CN_DROPDOWNCLOSED = WM_USER + 0x1000;

enum TToolButtonStyle { tbsButton = 0, tbsCheck = 1, tbsDropDown = 2, tbsSeparator = 3, tbsDivider = 4 };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TEdgeBorder : uint8_t { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
enum TEdgeStyle { esNone, esRaised, esLowered };

class TToolButton : public TObject {
 public:
  TToolButton(TToolBar* bar, int index, const std::string& caption, int imageIndex, TToolButtonStyle style);
  TToolBar* ToolBar() const { return bar_; }
  int Index() const { return index_; }
  int CommandId() const { return index_ + 1; }
  const std::string& Caption() const { return caption_; }
  int ImageIndex() const { return imageIndex_; }
  TToolButtonStyle Style() const { return style_; }
  bool Down() const;
  void SetDown(bool value);
  // Highlighted by the program (TB_MARKBUTTON).
  bool Marked() const;
  void SetMarked(bool value);
  bool Enabled() const;
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu) { dropdownMenu_ = menu; }

  TNotifyEvent OnClick;

 private:
  friend class TToolBar;
  bool HasState(BYTE flag) const;
  void SetState(BYTE flag, bool on);

  TToolBar* bar_;
  int index_;
  std::string caption_;
  int imageIndex_;
  TToolButtonStyle style_;
  BYTE state_ = TBSTATE_ENABLED;
  bool visible_ = true;
  TPopupMenu* dropdownMenu_ = nullptr;
};

class TToolBar : public TWinControl {
 public:
  using TAdvancedCustomDrawEvent =
      std::function<void(TToolBar* Sender, const RECT& Rect, TCustomDrawStage Stage, bool& DefaultDraw)>;
  // State: the CDIS_ flags of the button; Flags: TBCDRF_ flags the system control draws with.
  using TAdvancedCustomDrawButtonEvent = std::function<void(TToolBar* Sender, TToolButton* Button, UINT& State,
                                                            TCustomDrawStage Stage, UINT& Flags, bool& DefaultDraw)>;

  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;

  TToolButton* AddButton(const std::string& caption, int imageIndex, TToolButtonStyle style = tbsButton);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)).get(); }

  // Image lists are the caller's; the bar only shows them.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images);
  HIMAGELIST HotImages() const { return hotImages_; }
  void SetHotImages(HIMAGELIST images);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  // Captions beside the images instead of under them.
  bool List() const { return list_; }
  void SetList(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int ButtonWidth() const { return buttonWidth_; }
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonSize(int width, int height);
  uint8_t EdgeBorders() const { return edgeBorders_; }
  void SetEdgeBorders(uint8_t value);
  TEdgeStyle EdgeInner() const { return edgeInner_; }
  TEdgeStyle EdgeOuter() const { return edgeOuter_; }
  void SetEdges(TEdgeStyle inner, TEdgeStyle outer);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  // While set (a drop-down menu of the bar is open) no button follows the mouse.
  bool HotTrackSuppressed() const { return hotTrackSuppressed_; }

  TCanvas& Canvas() { return canvas_; }
  TAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TAdvancedCustomDrawButtonEvent OnAdvancedCustomDrawButton;

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  friend class TToolButton;
  void AddButtonToWindow(const TToolButton& button);
  void RebuildButtons();
  LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
  void DropDown(TToolButton& button);
  void RefreshFrame();
  // The widths the edges and the border take from each side of the window.
  RECT FrameWidths() const;

  std::vector<std::unique_ptr<TToolButton>> buttons_;
  HIMAGELIST images_ = nullptr;
  HIMAGELIST hotImages_ = nullptr;
  bool showCaptions_ = false;
  bool list_ = false;
  bool flat_ = true;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  uint8_t edgeBorders_ = ebTop;
  TEdgeStyle edgeInner_ = esRaised;
  TEdgeStyle edgeOuter_ = esLowered;
  int borderWidth_ = 0;
  bool hotTrackSuppressed_ = false;
  TCanvas canvas_;
};
