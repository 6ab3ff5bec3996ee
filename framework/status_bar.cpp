#include "framework/status_bar.h"

#include <commctrl.h>

#include "framework/text_encoding.h"

namespace {

void SetPartText(HWND wnd, int part, const std::string& text) {
  const std::wstring wide = efir::text::fromAnsi(text);
  SendMessageW(wnd, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& Params) {
  efir::InitCommonControlClasses();
  TWinControl::CreateParams(Params);
  Params.SystemClass = STATUSCLASSNAMEW;
  // The framework places the bar; the system control must not move it.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateParts();
}

void TStatusBar::AddPanel(const std::string& text, int width, TAlignment alignment) {
  panels_.push_back({text, width, alignment});
  UpdateParts();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  panels_.at(static_cast<size_t>(index)).Text = text;
  if (HandleAllocated()) SetPartText(Handle(), index, text);
}

void TStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  UpdateParts();
}

void TStatusBar::SetSimpleText(const std::string& value) {
  simpleText_ = value;
  if (simplePanel_) UpdateParts();
}

void TStatusBar::SetBorderWidth(int value) {
  borderWidth_ = value;
  Invalidate();
}

void TStatusBar::UpdateParts() {
  if (!HandleAllocated()) return;
  HWND wnd = Handle();
  SendMessageW(wnd, SB_SIMPLE, simplePanel_, 0);
  if (simplePanel_) {
    SetPartText(wnd, SB_SIMPLEID, simpleText_);
    // The simple panel's text is also the window's text, for whoever reads the bar as a window.
    SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(efir::text::fromAnsi(simpleText_).c_str()));
    return;
  }
  std::vector<int> edges;
  int right = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    right += panels_[i].Width;
    edges.push_back(i + 1 == panels_.size() ? -1 : right);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageW(wnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels_.size(); ++i) SetPartText(wnd, static_cast<int>(i), panels_[i].Text);
}
