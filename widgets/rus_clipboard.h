// The program's clipboard. Text goes on it as Windows-1251 bytes (CF_TEXT) together with a
// CF_LOCALE entry of the Russian locale (1049), so that other programs read it as Cyrillic
// whatever their own code page; text is read back through its Unicode form.
//
//   Clipboard().SetAsText(title);              // the clipboard now holds title and 1049
//   std::string text = Clipboard().AsText();
//
// Opens nest: only the outermost Open and Close reach the system clipboard, so several
// writes can be grouped between an Open and a Close.
#pragma once

#include <windows.h>

#include <string>

class TRusClipboard {
 public:
  TRusClipboard() = default;
  TRusClipboard(const TRusClipboard&) = delete;
  TRusClipboard& operator=(const TRusClipboard&) = delete;

  // Raises Exception "Cannot open clipboard" when another program holds it.
  void Open();
  // The outermost Close marks what was written meanwhile as Russian text.
  void Close();
  void Clear();
  bool HasFormat(UINT format);
  std::string AsText();
  void SetAsText(const std::string& text);

 private:
  // Empties the clipboard before the first write of an Open.
  void PrepareWrite();
  static void StampLocale(LCID locale);

  int opens_ = 0;
  bool written_ = false;
};

// The clipboard of the whole program.
TRusClipboard& Clipboard();
