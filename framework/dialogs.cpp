#include "framework/dialogs.h"

#include "framework/text_encoding.h"

#include <commdlg.h>

#include <vector>

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute() {
  std::wstring filter = efir::text::fromAnsi(filter_);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  std::wstring initialDir = efir::text::fromAnsi(initialDir_);
  std::wstring defaultExt = efir::text::fromAnsi(defaultExt_);
  std::wstring title = efir::text::fromAnsi(title_);
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring name = efir::text::fromAnsi(fileName_);
  name.copy(file.data(), std::min(name.size(), file.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(filterIndex_);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!Run(dialog)) return false;
  fileName_ = efir::text::toAnsi(file.data());
  filterIndex_ = static_cast<int>(dialog.nFilterIndex);
  return true;
}
