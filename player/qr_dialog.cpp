#include "player/qr_dialog.h"

#include <cctype>
#include <iterator>

#include "download/web_download.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/picture_png.h"
#include "framework/text_encoding.h"
#include "player/layout.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/station_dialog.h"
#include "player/url_stream.h"

TForm7* Form7 = nullptr;

namespace {

constexpr const char* kLevels[] = {"L", "M", "Q", "H"};
constexpr int kCodeSize = 90;

std::string testService;

}  // namespace

std::string QrService() { return testService.empty() ? kQrService : testService; }

void SetQrServiceForTests(const std::string& address) { testService = address; }

std::string QrLevel(int LevelIndex) {
  return LevelIndex >= 0 && LevelIndex < static_cast<int>(std::size(kLevels)) ? kLevels[LevelIndex]
                                                                             : kLevels[0];
}

std::string EncodeQueryText(const std::string& Text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : Text) {
    unsigned char b = static_cast<unsigned char>(c);
    if ((b < 128 && std::isalnum(b)) || b == '-' || b == '_' || b == '.' || b == '~') {
      out += c;
    } else if (b == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string QrImageAddress(int Width, int Height, int LevelIndex, const std::string& Text) {
  return QrService() + efir::Format("chart?chs=%dx%d&cht=qr&chld=%s&chl=%s", Width, Height,
                                    QrLevel(LevelIndex).c_str(), EncodeQueryText(Text).c_str());
}

void FetchQrImage(int Width, int Height, int LevelIndex, TStream& Stream, const std::string& Text) {
  DownloadToStream(QrImageAddress(Width, Height, LevelIndex, Text), Stream);
}

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeToolWin);
  SetCaption("Радио в QR");
  SetBounds(0, 0, 170, 234);
  SetVisible(false);
  Image1 = layout::Place(new TImage(this), this, 36, 8, kCodeSize, kCodeSize);
  Image1->SetCenter(true);
  Memo1 = layout::Place(new TMemo(this), this, 8, 104, 146, 20);
  Memo1->SetVisible(false);
  ComboBox1 = layout::Place(new TComboBox(this), this, 8, 132, 146, 21);
  ComboBox1->SetStyle(csDropDownList);
  for (const char* level : {"L - 7%", "M - 15%", "Q - 25%", "H - 30%"})
    ComboBox1->Items().Add(level);
  ComboBox1->SetItemIndex(0);
  Button1 = layout::Place(new TButton(this), this, 8, 162, 146, 25);
  Button1->SetCaption("Button1");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TForm7::Button1Click(TObject*) {
  try {
    Form1->WebMultiDownload1->DownloadUrlToFile(efir::text::fromAnsi(
        QrService() + efir::Format("chart?chs=%dx%d&cht=qr&chld=l&chl=test", kCodeSize, kCodeSize)));
    Memo1->SetText(Form3->sEdit2->Text());
    Image1->Picture().Assign(nullptr);
    TMemoryStream stream;
    TPngImage png;
    FetchQrImage(kCodeSize, kCodeSize, ComboBox1->ItemIndex(), stream, Memo1->Text());
    if (stream.Size() > 0) {
      png.LoadFromMemory(stream.Memory(), static_cast<size_t>(stream.Size()));
      Image1->Picture().Assign(&png);
    }
  } catch (...) {
    ShowMessage(efir::CurrentExceptionMessage());
  }
}
