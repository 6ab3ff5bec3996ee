#include "player/equalizer.h"

#include "framework/convert.h"
#include "framework/text_file.h"
#include "player/main_window.h"

std::array<int, 10> EqualizerBands{15, 15, 15, 15, 15, 15, 15, 15, 15, 15};

void LoadEqualizerFile(const std::string& FileName) {
  TTextFile file;
  file.Reset(PlayerFolder() + FileName);
  for (int& band : EqualizerBands) band = efir::StrToInt(file.ReadLine());
  file.Close();
}
