#include "player/equalizer.h"

#include "audio/audio.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "player/main_window.h"

TEqualizerValues EqualizerBands{15, 15, 15, 15, 15, 15, 15, 15, 15, 15};

TEqualizerValues ReadEqualizerFile(const std::string& Path) {
  TTextFile file;
  file.Reset(Path);
  TEqualizerValues values;
  for (int& value : values) {
    // Past the end a read gives an empty line, which would only say "'' is not a valid
    // integer value" without naming the file.
    if (file.Eof()) throw EInOutError("Read beyond end of file \"" + Path + "\"", 38);
    value = efir::StrToInt(file.ReadLine());
  }
  file.Close();
  return values;
}

void LoadEqualizerFile(const std::string& FileName) {
  EqualizerBands = ReadEqualizerFile(PlayerFolder() + FileName);
}

void SaveEqualizerFile(const TEqualizerValues& Values) {
  std::string text;
  for (int value : Values) text += efir::IntToStr(value) + "\r\n";
  efir::WriteFileSafely(PlayerFolder() + "equalizer.txt", text);
  EqualizerBands = Values;
}

void SetBandGain(int Band, float GainDb) {
  const DWORD fx = EqualizerFx[static_cast<size_t>(Band)];
  audio::EqualizerParams params{};
  if (!BASS_FXGetParameters(fx, &params)) return;
  params.gain = GainDb;
  BASS_FXSetParameters(fx, &params);
}
