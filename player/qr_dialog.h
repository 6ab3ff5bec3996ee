// The QR dialog `TForm7`: a sizeable tool window that shows the station editor's stream
// address as a QR code, drawn by an outside web service at the chosen error-correction level.
// No command of the windows opens it; code shows it with Form7->Show().
//
//   Form7->Button1Click(Form7);    // fetches the code into Image1; errors show in a message box
#pragma once

#include <string>

#include "framework/forms.h"
#include "framework/image.h"
#include "framework/stdctrls.h"
#include "framework/streams.h"

class TForm7 : public TForm {
 public:
  explicit TForm7(TComponent* AOwner);

  TImage* Image1;         // the code
  TMemo* Memo1;           // the text it stands for (hidden)
  TComboBox* ComboBox1;   // error-correction level
  TButton* Button1;

  void Button1Click(TObject* Sender);
};

extern TForm7* Form7;

// The QR service's address, ending in '/'; tests point it at a server of their own.
inline constexpr char kQrService[] = "http://qr.example/";
std::string QrService();
void SetQrServiceForTests(const std::string& address);  // "" restores kQrService

// The level letter for the combo box's item index ("L", "M", "Q", "H"); an index outside the
// table is the lowest level, the one the box shows before a choice.
std::string QrLevel(int LevelIndex);
// The text as a query value: letters, digits and "-_.~" stay, a space becomes "+", every
// other byte "%" and two hexadecimal digits.
std::string EncodeQueryText(const std::string& Text);
// The service's address of the Width x Height code of Text at the level of LevelIndex.
std::string QrImageAddress(int Width, int Height, int LevelIndex, const std::string& Text);
// Fetches that code into Stream (from its start).
void FetchQrImage(int Width, int Height, int LevelIndex, TStream& Stream, const std::string& Text);
