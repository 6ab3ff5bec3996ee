// The settings dialog `TForm2`: the settings of `config.txt` and the ten-band equalizer. The
// main window's picture "Настройки" (TForm1::Image7Click) opens and hides it beside the window.
// Boxes and sliders act on the settings in memory as they change (the equalizer, the buffer,
// the update check and autostart); "OK" writes `config.txt`, the autostart value and
// `equalizer.txt`; "По умолчанию" puts the boxes and sliders back to a first run's values.
//
// Setting a box's state or a slider's position in code raises its event like the user's
// action; opening the dialog and the defaults rely on that.
#pragma once

#include <array>

#include "player/equalizer.h"
#include "player/layout.h"
#include "skin/engine/skin_manager.h"
#include "widgets/rb_panel.h"
#include "widgets/rx_controls.h"

class TForm2 : public TPlayerDialog {
 public:
  explicit TForm2(TComponent* AOwner);

  TImage* Image3;           // title icon; a press drags the window
  TsCheckBox* sCheckBox2;   // check_updates
  TsCheckBox* sCheckBox1;   // open_last
  TsBitBtn* sBitBtn1;       // "OK"
  TsBitBtn* sBitBtn2;       // "По умолчанию"
  TsButton* sButton3;       // "Справка" (hidden)
  TRbPanel* RbPanel1;
  TsCheckBox* sCheckBox3;   // autorun (hidden)
  TsCheckBox* sCheckBox5;   // help
  TsCheckBox* sCheckBox6;   // log
  TsCheckBox* sCheckBox7;   // hotkeys
  TsLabel* sLabel2;         // "Буфер"
  TsTrackBar* sTrackBar1;   // buffer, seconds
  TRxLabel* RxLabel1;       // the buffer in seconds
  TsCheckBox* sCheckBox4;   // equalizer on
  TsComboBox* sComboBox1;   // presets
  TRbPanel* RbPanel2;
  // Bands 1 to 10, lowest first.
  TsTrackBar* sTrackBar2;
  TsTrackBar* sTrackBar3;
  TsTrackBar* sTrackBar4;
  TsTrackBar* sTrackBar5;
  TsTrackBar* sTrackBar6;
  TsTrackBar* sTrackBar7;
  TsTrackBar* sTrackBar8;
  TsTrackBar* sTrackBar9;
  TsTrackBar* sTrackBar10;
  TsTrackBar* sTrackBar11;
  TsLabel* sLabel3;         // the bands' frequencies
  // Names a skin the user may install in the skin directory; it stores none of its own.
  TsSkinManager* sSkinManager1;

  void sBitBtn1Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);
  void sComboBox1Select(TObject* Sender);
  void sCheckBox4Click(TObject* Sender);
  // Bound to the ten band sliders: the slider's band of the current stream follows it.
  void sTrackBar2Change(TObject* Sender);
  void sTrackBar1Change(TObject* Sender);
  void sCheckBox2Click(TObject* Sender);
  void sCheckBox3Click(TObject* Sender);
  // Bound to sCheckBox1, 5, 6 and 7, which act only once "OK" writes them.
  void sCheckBox1Click(TObject* Sender);
  void sButton3Click(TObject* Sender);

  // The slider of band `Band` (0 = band 1, sTrackBar2) and the positions of all ten.
  TsTrackBar* BandSlider(int Band) const;
  TEqualizerValues BandPositions() const;

 private:
  // The preset box names no preset: the sliders are the user's own.
  void ShowNoPreset();

  std::array<TsTrackBar**, kBandCount> bandSliders_{};
};

extern TForm2* Form2;
