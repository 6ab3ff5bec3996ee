#include "skin/engine/s_label.h"

#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

// Set while a label takes its colours: the font changes it makes then are not news.
bool takingSkinFont = false;

TsSkinManager* ActiveDefaultManager() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager && manager->LoadedSkin.Active ? manager : nullptr;
}

void SetFontColor(TFont& font, TColor color) {
  if (color != font.Color()) font.SetColor(color);
}

}  // namespace

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TLabel(AOwner) { SetTransparent(true); }

void TsCustomLabel::SetSkinSection(const std::string& value) {
  if (value == skinSection_) return;
  skinSection_ = value;
  Repaint();
}

TFont& TsCustomLabel::GetSkinFont() {
  if (TsSkinManager* manager = ActiveDefaultManager()) {
    const int index = ParentFontSectionIndex(this, -1, manager);
    const TColor color = index >= 0 ? manager->GeneralData[static_cast<size_t>(index)].FontColor[0]
                                    : GlobalInfoFontColor(manager);
    if (color != static_cast<TColor>(0xFF00FF)) SetFontColor(Font(), color);
  }
  return Font();
}

void TsCustomLabel::TakeSkinFont() {
  if (takingSkinFont) return;
  takingSkinFont = true;
  TFont& font = GetSkinFont();
  if (&font != &Font()) Font().Assign(font);
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!skinSection_.empty() && manager && manager->Active()) {
    const int index = SectionIndexByName(manager, skinSection_);
    if (index >= 0) SetFontColor(Font(), manager->GeneralData[static_cast<size_t>(index)].FontColor[0]);
  }
  takingSkinFont = false;
}

// Section 0 lends its font colour but paints no background.
void TsCustomLabel::PaintSection() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (skinSection_.empty() || !manager || !manager->Active() || !Parent()) return;
  const int index = SectionIndexByName(manager, skinSection_);
  if (index <= 0) return;
  BackgroundInfo info;
  QueryParentBackground(info, Parent(), false);
  CacheSourceInfo behind;
  BackgroundInfoToCacheInfo(info, behind);
  RenderSectionItemToDC(index, skinSection_, behind, true, 0, {0, 0, Width(), Height()}, {Left(), Top()},
                        Canvas().Handle(), manager);
}

void TsCustomLabel::Paint() {
  if (Destroying()) return;
  TakeSkinFont();
  Canvas().Font().Assign(Font());
  PaintSection();
  TLabel::Paint();
}

void TsCustomLabel::DrawLabelText(RECT rect, UINT flags) {
  if (Enabled() || !ActiveDefaultManager() || Destroying()) {
    TLabel::DrawLabelText(rect, flags);
    return;
  }
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  canvas.Font().SetColor(MixColors(static_cast<TColor>(ColorToRGB(Font().Color())), ControlBackgroundColor(Parent()), 0.4));
  canvas.TextRect(rect, text_, flags);
}

void TsCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED:
      if (Destroying()) break;
      if (!takingSkinFont) {
        AdjustBounds();
        Invalidate();
      }
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      break;  // the framework raises OnMouseEnter and OnMouseLeave
    case SM_ALPHACMD: {
      TLabel::WndProc(Message);
      const WORD subCommand = SkinSubCommand(Message.WParam);
      const bool fromDefault = Message.LParam == reinterpret_cast<LPARAM>(TsSkinManager::DefaultManager());
      if (subCommand == SKC_REMOVESKIN && fromDefault && !Destroying()) SetFontColor(Font(), clWindowText);
      return;
    }
  }
  TLabel::WndProc(Message);
}

TFont& TsLabel::GetSkinFont() {
  if (Destroying() || !useSkinColor_) return Font();
  return TsCustomLabel::GetSkinFont();
}

void TsLabel::WndProc(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD && SkinSubCommand(Message.WParam) == SKC_REMOVESKIN) {
    const bool fromDefault = Message.LParam == reinterpret_cast<LPARAM>(TsSkinManager::DefaultManager());
    if (fromDefault && useSkinColor_ && !Destroying()) SetFontColor(Font(), clWindowText);
    return;
  }
  TsCustomLabel::WndProc(Message);
}

TsEditLabel::TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel)
    : TsLabel(AOwner), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel() {
  if (boundLabel_) boundLabel_->LabelFreed();
}
