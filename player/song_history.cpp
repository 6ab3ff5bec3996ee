#include "player/song_history.h"

#include <string_view>

#include "framework/convert.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "framework/text_utils.h"
#include "player/main_window.h"
#include "player/playback.h"
#include "player/web_pages.h"

namespace {

constexpr size_t kStationWidth = 31;

// The status label's text as last seen, cleaned; a title is logged only when it changes.
std::string lastTitle;
// The user's long time format, kept from before any download could replace it.
std::string userTimeFormat = "hh:nn:ss";

std::string HistoryPath() { return PlayerFolder() + "radiolog.txt"; }

// Marks the status label adds around titles, and a recording's prefix.
std::string CleanTitle(std::string caption) {
  for (const char* noise : {" - 0:00", "_", "&", "Идёт запись: "})
    caption = efir::ReplaceAll(caption, noise, "");
  return caption;
}

// Status texts of the player ("Подключение...", "Остановлено", "Буферизация...", errors, the
// product name) carry one of these fragments; "Нет сигнала" carries none and is logged.
bool IsTrackTitle(std::string_view title) {
  if (title.empty() || title == " ") return false;
  for (std::string_view status : {"одключение", "становлено", "шибка", "уферизация", "фирушка"})
    if (title.find(status) != std::string_view::npos) return false;
  return true;
}

// Puts ':' between the parts of a time while it lives; the process gets its own separator back.
class ColonTimeSeparator {
 public:
  ColonTimeSeparator() : saved_(efir::FormatSettings().TimeSeparator) {
    efir::FormatSettings().TimeSeparator = ':';
  }
  ~ColonTimeSeparator() { efir::FormatSettings().TimeSeparator = saved_; }
  ColonTimeSeparator(const ColonTimeSeparator&) = delete;
  ColonTimeSeparator& operator=(const ColonTimeSeparator&) = delete;

 private:
  char saved_;
};

std::string TimeText(double time) {
  ColonTimeSeparator colon;
  return efir::FormatDateTime(userTimeFormat, time);
}

// A control byte inside a title would break the file's one-line-per-title layout (CR, LF) or
// hide the rest of the file from readers (0x1A).
std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  return text;
}

std::string HistoryLine(const std::string& time, std::string station, const std::string& title) {
  if (station.size() < kStationWidth) station.resize(kStationWidth, ' ');
  return OneLine(time + " | " + station + " | " + title);
}

// The line goes to the file's end in one write; a history file deleted meanwhile is made again.
void AppendHistoryLine(const std::string& line) {
  TTextFile file;
  if (efir::FileExists(HistoryPath()))
    file.Append(HistoryPath());
  else
    file.Rewrite(HistoryPath());
  file.WriteLine(line);
  file.Close();
}

void LogTitle(const TForm1& form, double now) {
  const std::string title = CleanTitle(form.RxLabel7->Caption());
  if (title == lastTitle) return;
  // Taken before the write, so that a file that cannot be written is reported once per title.
  lastTitle = title;
  if (!IsTrackTitle(title) || RecordingActive) return;
  AppendHistoryLine(HistoryLine(TimeText(now), form.RxLabel6->Caption(), title));
}

}  // namespace

void StartSongHistory() {
  lastTitle.clear();
  userTimeFormat = efir::FormatSettings().LongTimeFormat;
}

void TForm1::Timer3Timer(TObject*) {
  const double now = RxClock1->CurrentTime();
  // The clock first: a history that cannot be written must not stop it.
  sLabel5->SetCaption("Сейчас: " + TimeText(now));
  ShowStreamStall();
  if (Settings.log == 1) LogTitle(*this, now);
}

// The shell opens the file with its program as it opens pages in the browser.
void TForm1::N26Click(TObject*) { OpenWebPage(HistoryPath()); }
