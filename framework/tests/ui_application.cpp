// The application object: the default exception handler, the message loop and its hook, the
// main form's life.
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"
#include "framework/exceptions.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

namespace {

using efir::test::UiTest;
using UiApplication = UiTest;

TEST_F(UiApplication, AFailingHandlerEndsInTheDefaultHandlerAndTheProgramGoesOn) {
  TForm* form = NewForm();
  auto* button = new TButton(form);
  button->SetParent(form);
  int clicks = 0;
  button->OnClick = [&](TObject*) {
    if (++clicks == 1) throw EInOutError("Cannot open config.txt");
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(shown, std::vector<std::string>{"Cannot open config.txt"});

  // A timer's handler, and a plain C++ exception.
  shown.clear();
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    throw std::runtime_error("Timer failed");
  };
  ASSERT_TRUE(efir::test::pumpUntil([&] { return !shown.empty(); }, 3000));
  EXPECT_EQ(shown, std::vector<std::string>{"Timer failed"});
  EXPECT_TRUE(IsWindow(form->Handle()));
}

class FailingCreate : public TForm {
 public:
  explicit FailingCreate(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetBounds(30, 30, 100, 80);
    SetVisible(true);
    OnCreate = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
  }
};

TEST_F(UiApplication, AFailingOnCreateIsReportedAndTheFormStillAppears) {
  auto* form = efir::Construct<FailingCreate>(nullptr);
  EXPECT_EQ(shown, std::vector<std::string>{"'x' is not a valid integer value"});
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->Free();
}

TEST_F(UiApplication, HeldMessagesAreToldOnceTogetherAfterTheWorkIsDone) {
  Application.HoldExceptions();
  TForm* form = NewForm();
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { throw EInOutError("Не удалось прочитать config.txt"); };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);  // the same text is told once
  Application.ShowException("Не удалось прочитать логотип");
  EXPECT_TRUE(shown.empty());
  Application.ShowHeldExceptions();
  EXPECT_TRUE(shown.empty()) << "told from the next loop, not from within the work";
  Application.ProcessMessages();
  EXPECT_EQ(shown, std::vector<std::string>{
                       "Не удалось прочитать config.txt\n\nНе удалось прочитать логотип"});
  // No longer held, and nothing left over.
  shown.clear();
  Application.ShowHeldExceptions();
  Application.ShowException("сразу");
  Application.ProcessMessages();
  EXPECT_EQ(shown, std::vector<std::string>{"сразу"});
}

class LoggingForm : public TForm {
 public:
  explicit LoggingForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetBounds(40, 40, 120, 90);
    SetVisible(true);
    OnClose = [this](TObject*, TCloseAction&) { log.push_back(Name() + " close"); };
    OnDestroy = [this](TObject*) { log.push_back(Name() + " destroy"); };
  }
  static std::vector<std::string> log;
};
std::vector<std::string> LoggingForm::log;

LoggingForm* MainWindow;
LoggingForm* SecondWindow;

TEST_F(UiApplication, ClosingASecondFormHidesItAndClosingTheMainFormEndsRun) {
  LoggingForm::log.clear();
  Application.SetTitle("Эфирушка Плюс");
  Application.CreateForm(MainWindow);
  Application.CreateForm(SecondWindow);
  MainWindow->SetName("main");
  SecondWindow->SetName("second");
  ASSERT_EQ(Application.MainForm(), MainWindow);
  SecondWindow->Show();

  wchar_t text[64] = {};
  GetWindowTextW(MainWindow->Handle(), text, 64);
  EXPECT_EQ(std::wstring(text), L"Эфирушка Плюс") << "the task bar shows the title";

  bool secondHidden = false;
  Application.QueueCall([&] {
    SecondWindow->Close();
    secondHidden = !IsWindowVisible(SecondWindow->Handle());
    MainWindow->Close();
  });
  Application.Run();
  EXPECT_TRUE(secondHidden);
  EXPECT_EQ(LoggingForm::log,
            (std::vector<std::string>{"second close", "main close", "second destroy", "main destroy"}));
  EXPECT_EQ(Application.MainForm(), nullptr);
  EXPECT_EQ(Application.ComponentCount(), 0);
  Application.SetTitle("");
}

TEST_F(UiApplication, TheMessageHookSeesMessagesFirstAndHandledDropsThem) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  std::vector<WORD> reached;
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { reached.push_back(key); };
  Application.OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_UP) handled = true;
  };
  PostMessageW(edit->Handle(), WM_KEYDOWN, VK_UP, 0);
  PostMessageW(edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  Application.ProcessMessages();
  EXPECT_EQ(reached, std::vector<WORD>{VK_DOWN});
}

}  // namespace
