// The status message of a connect: the stream-open thread and the audio library's callbacks
// tell the main window how the station is doing (connecting, buffering, failed, the track
// title), always synchronously, and the main window shows it in the status label.
//
//   SendStationStatus(ssBuffering, percent);           // any thread; waits until handled
//   std::optional<std::string> t = StreamTitleOf(tags); // the title in a metadata text
//
// The sender's text lives only during the call: the main window copies what it keeps.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr UINT WM_STATION_STATUS = WM_USER + 101;
// Posted by the end-of-stream callback with the ended stream in wParam: the main window
// reconnects on its own thread.
inline constexpr UINT WM_STATION_RECONNECT = WM_USER + 102;

// wParam of WM_STATION_STATUS; lParam as noted.
enum TStationStatus : WPARAM {
  ssConnecting = 0,     // 0
  ssConnectFailed = 1,  // 0
  ssBuffering = 2,      // the pre-buffer's percent
  ssShowText = 4,       // zero-terminated text for a message box
  ssRecordingText = 6,  // zero-terminated text
  ssTitle = 7,          // zero-terminated track title, bytes as the stream sent them
  ssHeaders = 8,        // the response's header block; the window ignores it
};

// Sends the status to the main window and returns once it has been handled (at once when
// there is no main window).
void SendStationStatus(TStationStatus code, LPARAM value);
void SendStationStatus(TStationStatus code, const std::string& text);

// The track title of a metadata text ("StreamTitle='...';StreamUrl='...';"): what follows
// "StreamTitle='" up to the character before the ";" that ends the field, taken for the
// closing quote. That ";" is the first one followed by the text's end or by the next field
// ("Name='"), so a title may hold ";" and quotes; failing that, the first ";". Nothing when
// the text has no "StreamTitle="; empty when no ";" follows, or the first lies before it.
std::optional<std::string> StreamTitleOf(const std::string& tags);

// The title as the status label shows it: decoded from UTF-8 to Windows-1251 when it is valid
// UTF-8, else the bytes as sent.
std::string DisplayedTitle(const std::string& raw);
