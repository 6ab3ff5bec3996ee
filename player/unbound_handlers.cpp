// Handlers of the main window that no control of its layout raises, or that it binds to events
// that do nothing: they stay callable from code. Each does what its name has always done.
#include "audio/audio.h"
#include "download/web_download.h"
#include "framework/text_encoding.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/stream_thread.h"
#include "player/web_pages.h"

void TForm1::Button4Click(TObject*) {
  WindowsMediaPlayer1->Stop();
  BASS_ChannelStop(ChannelHandle);
}

void TForm1::cbDirectConnectionClick(TObject*) { BASS_SetConfigPtr(audio::ConfigNetProxy, nullptr); }

void TForm1::WebDownload1Complete(TObject*, const std::wstring&, const std::wstring&,
                                  const std::wstring&, const std::wstring&, int) {
  RxLabel1->SetCaption(ProductSite());
  WebMultiDownload1->OpenFolder(efir::text::fromAnsi(PlayerFolder() + "MP3\\"));
}

void TForm1::WebDownload1Progress(TObject*, const std::string& Status) {
  RxLabel1->SetCaption("СКАЧИВАНИЕ: " + Status);
}

void TForm1::RxLabel1Click(TObject*) { OpenWebPage(ProductSite() + "/"); }

void TForm1::sButton2Click(TObject* Sender) { RxLabel1Click(Sender); }

void TForm1::RxLabel4Click(TObject*) { Close(); }

void TForm1::Label1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::RxLabel1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                               int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

// No panel of the layout binds these; one that did would drag the window like the background.
void TForm1::sPanel1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::sPanel2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::sPanel3MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

// A double click on the background is two presses that each drag the window; nothing more.
void TForm1::Image1DblClick(TObject*) {}

void TForm1::N18Click(TObject*) { N15->Click(); }

void TForm1::DataGrid1SlideChange(TObject*, int ACol) { ShowMessage(std::to_string(ACol)); }

void TForm1::NxTextColumn1ButtonClick(TNxNumberColumn*) { Edit1->SetText("NxTextColumn1"); }
