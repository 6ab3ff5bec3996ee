#include "grid/grid_text.h"

#include <string>

#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/convert.h"
#include "framework/forms.h"
#include "framework/text_encoding.h"

namespace grid {

SIZE WideTextExtent(TCanvas& Canvas, std::wstring_view Text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(Canvas.Handle(), Text.data(), static_cast<int>(Text.size()), &size);
  return size;
}

int WideTextWidth(TCanvas& Canvas, std::wstring_view Text) { return WideTextExtent(Canvas, Text).cx; }
int WideTextHeight(TCanvas& Canvas, std::wstring_view Text) { return WideTextExtent(Canvas, Text).cy; }

int TextRectWidth(TCanvas& Canvas, std::wstring_view Text) {
  std::wstring text(Text);  // DrawTextExW wants a writable buffer
  RECT rect{0, 0, 0, 0};
  DrawTextExW(Canvas.Handle(), text.data(), -1, &rect, DT_CALCRECT, nullptr);
  return rect.right - rect.left;
}

bool IsParentFormActive(TControl* Control) {
  TForm* form = Control ? Control->GetParentForm() : nullptr;
  return form && form->Active();
}

wchar_t DecimalSeparator() {
  const std::wstring separator =
      efir::text::fromAnsi(std::string(1, efir::FormatSettings().DecimalSeparator));
  return separator.empty() ? L'.' : separator[0];
}

}  // namespace grid
