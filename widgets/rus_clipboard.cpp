#include "widgets/rus_clipboard.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/text_encoding.h"

#include <cstring>

namespace {

constexpr LCID kRussian = 1049;

// A movable global block holding `size` bytes of `data`, for SetClipboardData; nullptr when
// the system has no memory for it.
HGLOBAL NewBlock(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (!block) return nullptr;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(block);
  return block;
}

// Hands the block to the clipboard; frees it when the clipboard does not take it.
bool PutBlock(UINT format, HGLOBAL block) {
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

}  // namespace

void TRusClipboard::Open() {
  if (opens_ == 0) {
    if (!OpenClipboard(Application.Handle())) throw Exception("Cannot open clipboard");
    written_ = false;
  }
  ++opens_;
}

// Only a clipboard this program wrote is marked: stamping on reading would change how other
// programs read the text another program left there.
void TRusClipboard::Close() {
  if (opens_ == 0) return;
  if (--opens_ > 0) return;
  if (written_) StampLocale(kRussian);
  CloseClipboard();
}

void TRusClipboard::StampLocale(LCID locale) {
  DWORD value = locale;
  PutBlock(CF_LOCALE, NewBlock(&value, sizeof(value)));
}

void TRusClipboard::PrepareWrite() {
  if (!written_) EmptyClipboard();
  written_ = true;
}

void TRusClipboard::Clear() {
  Open();
  EmptyClipboard();
  Close();
}

bool TRusClipboard::HasFormat(UINT format) { return IsClipboardFormatAvailable(format); }

std::string TRusClipboard::AsText() {
  Open();
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = efir::text::toAnsi(chars);
      GlobalUnlock(data);
    }
  }
  Close();
  return text;
}

void TRusClipboard::SetAsText(const std::string& text) {
  Open();
  try {
    PrepareWrite();
    if (!PutBlock(CF_TEXT, NewBlock(text.c_str(), text.size() + 1)))
      throw Exception("Cannot put the text on the clipboard");
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

TRusClipboard& Clipboard() {
  static TRusClipboard clipboard;
  return clipboard;
}
