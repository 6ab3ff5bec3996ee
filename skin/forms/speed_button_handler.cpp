#include "skin/forms/speed_button_handler.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/gdi.h"
#include "framework/speed_button.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/bit_btn_layout.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/png_graphic.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/speed_button_layout.h"

namespace {

constexpr UINT kWrappedText = DT_EXPANDTABS | DT_WORDBREAK;

SIZE CaptionSize(TCanvas& canvas, const std::string& caption) {
  if (caption.empty()) return {};
  const RECT r = MeasureTextOnDC(canvas.Handle(), caption, {0, 0, 255, 0}, DT_CALCRECT | kWrappedText);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

class TacSpeedButtonHandler::ControlWatch : public TComponent {
 public:
  explicit ControlWatch(TacSpeedButtonHandler& handler) : TComponent(nullptr), handler_(handler) {
    FreeNotification(handler.Control);
  }
  ~ControlWatch() override {
    if (!handler_.Detached) RemoveFreeNotification(handler_.Control);
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == handler_.Control) handler_.Detached = true;
  }

 private:
  TacSpeedButtonHandler& handler_;
};

TacSpeedButtonHandler::TacSpeedButtonHandler(TControl* control, TsCommonData* skinData, TsSkinManager* manager,
                                             const std::string& section)
    : Control(control), SkinManager(manager ? manager : skinData->SkinManager()), SkinData(skinData) {
  if (SkinData->SkinSection().empty() || SkinData->SkinSection() == "UNKNOWN") SkinData->SetSkinSection(section);
  SavedWindowProc = Control->WindowProc();
  Control->SetWindowProc([this](TMessage& m) { ButtonWndProc(m); });
  watch_ = std::make_unique<ControlWatch>(*this);
}

TacSpeedButtonHandler::~TacSpeedButtonHandler() {
  // Always given back while the control lives: a procedure left pointing at a freed handler
  // would crash the button.
  if (!Detached) Control->SetWindowProc(SavedWindowProc);
  watch_.reset();
  Detached = true;
  SkinManager = nullptr;
}

LRESULT TacSpeedButtonHandler::Forward(TMessage& message) {
  TMessage copy{message.Msg, message.WParam, message.LParam, 0};
  if (SavedWindowProc) SavedWindowProc(copy);
  else Control->WndProc(copy);
  message.LParam = copy.LParam;
  message.Result = copy.Result;
  return copy.Result;
}

bool TacSpeedButtonHandler::OwnManager(const TMessage& message) const {
  return SkinManager && message.LParam == reinterpret_cast<LPARAM>(SkinManager);
}

int TacSpeedButtonHandler::ButtonState() const {
  if (auto* button = dynamic_cast<TSpeedButton*>(Control))
    if (button->State() == bsDown || button->State() == bsExclusive) return 2;
  return SkinData->HotState() ? 1 : 0;
}

bool TacSpeedButtonHandler::PrepareCache() {
  TsCommonData& d = *SkinData;
  d.SizeCacheBitmap();
  TBitmap& cache = *d.CacheBitmap;
  cache.Canvas().Font().Assign(Control->Font());
  BackgroundInfo info;
  QueryParentBackground(info, Control->Parent(), false);
  if (info.Kind == BG_BITMAP && info.Bitmap && info.Bitmap->Width() == 0) return false;
  CacheSourceInfo behind;
  BackgroundInfoToCacheInfo(info, behind);
  const int state = ButtonState();
  const int w = Control->Width(), h = Control->Height();
  RenderControlItem(d, behind, true, state, {0, 0, w, h}, {Control->Left(), Control->Top()}, &cache, true);
  RestoreCorners(d, state);
  auto* button = dynamic_cast<TSpeedButton*>(Control);
  const std::string caption = Control->Caption();
  SpeedButtonMetrics m;
  m.Button = {w, h};
  m.Text = CaptionSize(cache.Canvas(), caption);
  m.HasCaption = !caption.empty();
  m.Pressed = state == 2;
  if (button) {
    m.Layout = button->Layout();
    m.Margin = button->Margin();
    m.Spacing = button->Spacing();
    if (!button->Glyph().Empty()) m.Glyph = {button->Glyph().Width() / button->NumGlyphs(), button->Glyph().Height()};
  }
  const RECT glyph = SpeedButtonGlyphRect(m);
  if (!caption.empty()) {
    SetBkMode(cache.Canvas().Handle(), TRANSPARENT);
    const UINT flags = kWrappedText | AlignmentDrawTextFlags(taLeftJustify);
    WriteSkinText(cache.Canvas(), caption, true, SpeedButtonCaptionRect(m, glyph), flags & ~DT_SINGLELINE, d, state != 0);
  }
  if (button && !button->Glyph().Empty()) {
    TBitmap& picture = button->Glyph();
    if (picture.PixelFormat() == pfDevice) picture.SetPixelFormat(pf24bit);
    if (button->NumGlyphs() == 1 && picture.PixelFormat() == pf32bit) {
      TPNGGraphic png;
      png.Assign(picture);
      cache.Canvas().Draw(glyph.left, glyph.top, png);
    } else {
      DrawGlyphEffects(&picture, &cache, glyph, button->NumGlyphs(), Control->Enabled(), 0, state, 0,
                       button->Down() ? 1 : 0);
    }
  }
  if (!Control->Enabled()) {
    CacheSourceInfo parent;
    d.ParentCacheInfo(parent);
    ApplyDisabledLook(&cache, dkBlended, Control->Parent(), parent, {Control->Left(), Control->Top()});
  }
  d.BackgroundChanged = false;
  return true;
}

void TacSpeedButtonHandler::Paint(HDC dc) {
  if (!dc) return;
  efir::gdi::SavedState saved(dc);
  PaintGuarded([&] {
    PrepareCache();
    RestoreCorners(*SkinData, 0);
    BitBlt(dc, 0, 0, Control->Width(), Control->Height(), SkinData->CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
  });
}

void TacSpeedButtonHandler::ButtonWndProc(TMessage& message) {
  TsCommonData& d = *SkinData;
  auto repaintVisible = [&] {
    if (Control->Visible()) Control->Repaint();
  };
  if (message.Msg == SM_ALPHACMD) {
    switch (SkinSubCommand(message.WParam)) {
      case SKC_NEWSKIN:
        if (!OwnManager(message)) break;
        SkinCommandHandler(message, &d);
        return;
      case SKC_REMOVESKIN:
        if (OwnManager(message) && !(Control->ComponentState() & csDestroying)) {
          SkinCommandHandler(message, &d);
          repaintVisible();
        }
        break;
      case SKC_REFRESH:
        if (!OwnManager(message)) break;
        SkinCommandHandler(message, &d);
        repaintVisible();
        return;
      case SKC_PARENTUPDATED:
        if (!d.IsUpdating()) break;
        d.SetUpdating(false);
        Control->Repaint();
        return;
      case SKC_ISSKINNED:
        message.Result = 1;
        return;
      case SKC_REPAINTGRAPHICS:
        d.Updating = false;
        d.BackgroundChanged = true;
        Control->Repaint();
        break;
      case SKC_GETAPPLICATION:
        message.Result = reinterpret_cast<LRESULT>(&Application);
        return;
    }
    Forward(message);
    return;
  }
  switch (message.Msg) {
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(message.WParam));
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      d.MouseOver = message.Msg == CM_MOUSEENTER;
      Forward(message);
      Control->Repaint();
      return;
  }
  Forward(message);
}

// ---- graphic items of the control adapter

TacGraphItem::TacGraphItem() : SkinData(std::make_unique<TsCommonData>(nullptr, true)) {
  SkinData->ControlKind = ckAdapted;
}

TacGraphItem::~TacGraphItem() {
  // The handler first: it paints from the skin data while it lets go.
  Handler.reset();
}

void TacGraphItem::HookGraphicControl(TControl* control) {
  if (!control || control->Tag() == -98) return;
  Ctrl = control;
  SkinData->OwnerControl = control;
  TsSkinManager* manager = Adapter ? Adapter->Provider->Manager() : nullptr;
  if (manager) SkinData->SetSkinManager(manager);
  Handler = std::make_unique<TacSpeedButtonHandler>(control, SkinData.get(), manager, SkinData->SkinSection());
}

void TacCtrlAdapter::AddGraphicControl(TControl* control) {
  if (!control || control->Tag() == -98 || !control->Parent() || AskControlSkinCommand(control, SKC_ISSKINNED) == 1)
    return;
  bool canBeAdded = true;
  std::string section = "SPEEDBUTTON";
  if (Provider->OnSkinItem) Provider->OnSkinItem(control, canBeAdded, section);
  if (!canBeAdded) return;
  auto found = std::find_if(GraphItems.begin(), GraphItems.end(), [&](const auto& item) { return item->Ctrl == control; });
  const bool fresh = found == GraphItems.end();
  TacGraphItem* item;
  if (fresh) {
    GraphItems.push_back(std::make_unique<TacGraphItem>());
    item = GraphItems.back().get();
    item->Adapter = this;
    item->Ctrl = control;
  } else {
    item = found->get();
  }
  auto* button = dynamic_cast<TSpeedButton*>(control);
  item->SkinData->SetSkinSection(button && button->Flat() ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON");
  if (!fresh) {
    if (item->Handler && item->Handler->Detached) {
      item->Handler.reset();
      item->HookGraphicControl(control);
    }
    return;
  }
  if (control->Parent()) item->HookGraphicControl(control);
  if (!item->Handler) GraphItems.pop_back();
}
