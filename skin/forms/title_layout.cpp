#include "skin/forms/title_layout.h"

TitleRow LayoutTitleRow(const TitleRowInput& input) {
  TitleRow row;
  int x = input.FrameImageWidth - input.BIRight - input.ShadowRight - input.BorderWidth;
  auto place = [&](int width, std::vector<TitleSpan>& into) {
    if (width <= 0) {
      into.push_back({});
      return;
    }
    into.push_back({x - width, x});
    x = x - width - input.Gap;
  };
  for (int width : input.SystemWidths) place(width, row.System);
  if (!input.UserWidths.empty()) x -= 8;
  for (int width : input.UserWidths) place(width, row.User);
  return row;
}

int TitleButtonsWidth(int biRight, int gap, const std::vector<int>& shownSystemWidths, const std::vector<int>& userWidths) {
  int width = biRight;
  for (size_t i = 0; i < shownSystemWidths.size(); ++i) width += shownSystemWidths[i] + (i == 0 ? 0 : gap);
  if (!userWidths.empty()) width += 8;
  for (int user : userWidths) width += user + gap;
  return width;
}

int TitleButtonTop(const TitleButtonTopMeasures& m) {
  const bool titleDiffers = m.TitleHeight != m.MaxHeight;
  if (m.BigIcon && m.BIVAlign == 1) {
    int top = m.ShadowTop;
    if (m.Maximized) {
      top += m.FrameBorderWidth - 1;
      if (m.HasBorderForm && titleDiffers) top += m.TitleHeight - m.MaxHeight;
      if (m.HasBorderForm && m.BorderMode == 1) top += m.CenterOffset;
    }
    return top;
  }
  int top = (m.FrameTopBorderWidth + m.CaptionHeight - m.ButtonHeight) / 2 + m.ShadowTop;
  if (m.HasBorderForm && m.BorderMode == 1) top += m.CenterOffset;
  if (m.Maximized && m.HasBorderForm) {
    top -= 2;
    if (titleDiffers) top += (m.TitleHeight - m.MaxHeight - m.CenterOffset) / 2 - 2;
    top += m.FrameBorderWidth / 2;
  }
  if (m.HasNormalCaption && m.ButtonHeight < 16) top += 2;
  return top;
}
