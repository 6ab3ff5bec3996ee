#include "player/station_status.h"

#include <cctype>
#include <string_view>

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/text_encoding.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/playback.h"

namespace {

constexpr std::string_view kTitleField = "StreamTitle=";

// Whether a metadata field ("Name='") begins at `at`.
bool FieldBeginsAt(std::string_view text, size_t at) {
  size_t name = at;
  while (name < text.size() && (std::isalnum(static_cast<unsigned char>(text[name])) || text[name] == '_'))
    ++name;
  return name > at && std::isalpha(static_cast<unsigned char>(text[at])) &&
         text.substr(name, 2) == "='";
}

// The ";" that ends the field holding the ";" at `first`: the first one from there that the
// text's end or the next field follows. A title may hold ";" and quotes of its own; the text
// is only split where nothing but the end or another field can follow. Without such a ";"
// the field ends at `first`.
size_t FieldEnd(std::string_view tags, size_t first) {
  for (size_t semicolon = first; semicolon != std::string_view::npos;
       semicolon = tags.find(';', semicolon + 1)) {
    size_t next = tags.find_first_not_of(" \t\r\n", semicolon + 1);
    if (next == std::string_view::npos || FieldBeginsAt(tags, next)) return semicolon;
  }
  return first;
}

// Strictly: text that is not UTF-8 gives nothing, so that a Windows-1251 title stays as sent.
std::wstring StrictUtf8(const std::string& bytes) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
  return wide;
}

void ShowRecordingText(TForm1& form, const std::string& text) {
  const std::string caption = "Идёт запись: " + text;
  if (form.RxLabel7->Caption() != caption) form.RxLabel7->SetCaption(caption);
}

void ShowTitle(TForm1& form, const std::string& raw) {
  form.RxLabel7->SetCaption(DisplayedTitle(raw));
  UnlockPlaybackUi();
  // Servers put their own notices into the title field; they are not song titles.
  if (form.RxLabel7->Caption().find("status") != std::string::npos) form.RxLabel7->SetCaption("");
}

// The task bar follows the status label, or the station name while the label is empty.
void ShowApplicationTitle(TForm1& form) {
  const std::string& status = form.RxLabel7->Caption();
  Application.SetTitle(status.empty() ? form.RxLabel6->Caption() : status);
}

const char* TextOf(LPARAM value) { return value ? reinterpret_cast<const char*>(value) : ""; }

// Returns whether the application title follows.
bool HandleStationStatus(TForm1& form, WPARAM code, LPARAM value) {
  switch (code) {
    case ssConnecting:
      form.RxLabel7->SetCaption("Подключение...");
      form.Timer2->SetEnabled(true);
      LockPlaybackUi();
      return true;
    case ssConnectFailed:
      form.RxLabel7->SetCaption("Остановлено");
      ResetAudio("");
      UnlockPlaybackUi();
      return true;
    case ssBuffering:
      form.RxLabel7->SetCaption(efir::Format("Буферизация... %d%%", static_cast<int>(value)));
      LockPlaybackUi();
      return true;
    case ssShowText:
      ShowMessage(form.Handle(), TextOf(value));
      if (RecorderState == rsIdle) UnlockPlaybackUi();
      return true;
    case ssRecordingText:
      if (RecorderState == rsWriting) {
        ShowRecordingText(form, TextOf(value));
        return true;
      }
      if (RecorderState == rsIdle) UnlockPlaybackUi();
      return false;
    case ssTitle:
      switch (RecorderState.load()) {
        case rsWriting:
          ShowRecordingText(form, TextOf(value));
          return true;
        case rsArmed:  // the recording takes the title it started with
          return false;
        default:
          ShowTitle(form, TextOf(value));
          return true;
      }
    default:
      return false;
  }
}

}  // namespace

void SendStationStatus(TStationStatus code, LPARAM value) {
  if (HWND window = MainWindowHandle) SendMessageA(window, WM_STATION_STATUS, code, value);
}

void SendStationStatus(TStationStatus code, const std::string& text) {
  SendStationStatus(code, reinterpret_cast<LPARAM>(text.c_str()));
}

std::optional<std::string> StreamTitleOf(const std::string& tags) {
  size_t field = tags.find(kTitleField);
  if (field == std::string::npos) return std::nullopt;
  size_t start = field + kTitleField.size() + 1;  // past the opening quote
  size_t first = tags.find(';');
  if (first == std::string::npos || first < start + 1) return std::string();
  size_t end = FieldEnd(tags, first);
  // The character before the ";" is taken for the closing quote.
  return tags.substr(start, end - 1 - start);
}

std::string DisplayedTitle(const std::string& raw) {
  std::wstring decoded = StrictUtf8(raw);
  return decoded.empty() ? raw : efir::text::toAnsi(decoded);
}

void TForm1::WndProc(TMessage& Message) {
  TForm::WndProc(Message);
  if (Message.Msg == WM_HOTKEY) {
    WMHotKey(Message);
    return;
  }
  if (Message.Msg == WM_STATION_RECONNECT) {
    ReconnectEndedStream(static_cast<DWORD>(Message.WParam));
    return;
  }
  if (Message.Msg != WM_STATION_STATUS || StreamThreadsStopping()) return;
  if (HandleStationStatus(*this, Message.WParam, Message.LParam)) ShowApplicationTitle(*this);
}
