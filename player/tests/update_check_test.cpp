// The version check against a loopback product site, the update notice it shows, and the about
// box with its links.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/text_encoding.h"
#include "framework/timer.h"
#include "grid/data_grid.h"
#include "player/about_box.h"
#include "player/main_window.h"
#include "player/tests/player_fixture.h"
#include "player/update_check.h"
#include "player/update_notice.h"
#include "player/web_pages.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"

namespace {

using player_test::ConfigLines;
using player_test::WriteLines;

// Runs `whileShown` once `form` shows, from inside its modal loop, then closes it as its close
// picture does; returns whether it showed.
class ModalWatch {
 public:
  ModalWatch(TPlayerDialog* form, std::function<void()> whileShown) {
    timer_.SetInterval(20);
    timer_.OnTimer = [this, form, whileShown](TObject*) {
      if (!form->Visible() || !form->Modal()) return;
      ++shows_;
      whileShown();
      form->Image2->OnClick(form->Image2);
    };
  }
  int Shows() const { return shows_; }

 private:
  TTimer timer_{nullptr};
  int shows_ = 0;
};

class UpdateCheck : public player_test::PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    SetWebPageOpenerForTests([this](const std::string& url) { opened.push_back(url); });
  }
  void TearDown() override {
    PlayerTest::TearDown();
    SetWebPageOpenerForTests(nullptr);
    SetProductSiteForTests("");
  }

  void StartPlayer() {
    WriteLines(Config(), ConfigLines(1, 0, 40, -1, 300, 200));
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }

  std::vector<std::string> opened;
};

TEST_F(UpdateCheck, NoticeShowsOnlyForANewerVersionAndErrorsPassSilently) {
  const std::pair<std::string, bool> sites[] = {
      {"site/86", true},
      {"site/86%0D%0A", true},  // the file's line end
      {"site/85", false},
      {"site/12", false},
      {"site/garbage", false},
      {"site/%3Chtml%3E86%3C%2Fhtml%3E", false},  // a portal's page
      {"site/", false},                           // empty
      {"missing", false},                         // 404
  };
  for (const auto& [site, notice] : sites) {
    SetProductSiteForTests(efir::test::httpUrl(site));
    StartPlayer();
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->Timer1->Interval(), 10000u);
    int left = 0, top = 0;
    ModalWatch watch(Form4, [&] {
      left = Form4->Left();
      top = Form4->Top();
    });
    Form1->Timer1->OnTimer(Form1->Timer1);
    EXPECT_EQ(watch.Shows(), notice ? 1 : 0) << site;
    EXPECT_TRUE(shown.empty()) << site << ": " << shown.front();
    EXPECT_FALSE(Form1->Timer1->Enabled()) << site;
    EXPECT_EQ(Form1->IdHTTP1.ConnectTimeout, 2000);
    EXPECT_EQ(Form1->IdHTTP1.ReadTimeout, 2000);
    if (notice) {
      EXPECT_EQ(left, GetSystemMetrics(SM_CXSCREEN) / 2 - 150);
      EXPECT_EQ(top, GetSystemMetrics(SM_CYSCREEN) / 2 - 100);
    }
    Form1->Close();
    RunToEnd();
  }
}

TEST_F(UpdateCheck, UnreachableSitePassesSilently) {
  SetProductSiteForTests("http://127.0.0.1:1");
  StartPlayer();
  ModalWatch watch(Form4, [] {});
  Form1->Timer1->OnTimer(Form1->Timer1);
  EXPECT_EQ(watch.Shows(), 0);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(UpdateCheck, NoticeTextsAndItsButtonOpensTheSite) {
  StartPlayer();
  EXPECT_EQ(Form4->Caption(), "Обновление Эфирушки");
  EXPECT_EQ(Form4->sLabel1->Caption(), "Эфирушка Плюс\r\nДоступно обновление");
  EXPECT_EQ(Form4->sButton1->Caption(), "Обновление");
  ModalWatch watch(Form4, [] {
    Form4->Repaint();
    efir::test::saveScreenshot(Form4->Handle(), "player-update-notice");
    SendMessageW(Form4->sButton1->Handle(), BM_CLICK, 0, 0);
  });
  Form4->ShowModal();
  EXPECT_EQ(watch.Shows(), 1);
  EXPECT_EQ(opened, std::vector<std::string>{kProductSite});
}

TEST_F(UpdateCheck, AboutBoxShowsTheVersionTheHotKeysAndItsLinks) {
  StartPlayer();
  std::vector<std::wstring> table;
  bool gridHidden = false;
  int left = 0, top = 0;
  ModalWatch watch(Form5, [&] {
    left = Form5->Left();
    top = Form5->Top();
    gridHidden = !Form5->DataGrid1->Visible();
    for (int row = 0; row < Form5->DataGrid1->RowCount(); ++row)
      table.push_back(Form5->DataGrid1->GetCellText(0, row) + L"|" +
                      Form5->DataGrid1->GetCellText(1, row));
    Form5->sLabel2->OnClick(Form5->sLabel2);
    SendMessageW(Form5->sBitBtn2->Handle(), BM_CLICK, 0, 0);
    SendMessageW(Form5->sBitBtn1->Handle(), BM_CLICK, 0, 0);
    Form5->Image1->OnClick(Form5->Image1);
    Form5->Repaint();
    efir::test::saveScreenshot(Form5->Handle(), "player-about-box");
  });
  Form1->Image6->OnClick(Form1->Image6);
  ASSERT_EQ(watch.Shows(), 1);
  EXPECT_FALSE(Form5->Visible());
  EXPECT_EQ(left, 300 - 50);
  EXPECT_EQ(top, 200 + 50);

  EXPECT_EQ(Form5->Caption(), "Версия");
  EXPECT_EQ(Form5->sLabel1->Caption(), "Эфирушка Плюс 23.10");
  EXPECT_EQ(Form5->sLabel2->Caption(), "(Что нового?)");
  EXPECT_EQ(Form5->sBitBtn1->Caption(), "Поддержать Автора");
  EXPECT_EQ(Form5->sBitBtn2->Caption(), "Сайт Эфирушки Плюс");
  EXPECT_EQ(Form5->sEdit1->Text(), kProductSite);
  EXPECT_TRUE(gridHidden);
  const std::vector<std::string> rows = {
      "НАЗВАНИЕ В БУФЕР|CTRL + SHIFT + F1",    "ОТПРАВИТЬ ВКОНТАКТ|CTRL + SHIFT + F2",
      "СЛУЧАЙНАЯ СТАНЦИЯ|CTRL + SHIFT + F4",   "СВЕРНУТЬ/РАЗВЕРНУТЬ|CTRL + SHIFT + F5",
      "ТИШЕ|CTRL + SHIFT + F8",                "ГРОМЧЕ|CTRL + SHIFT + F9",
      "ПУСК|CTRL + SHIFT + F10",               "ЗАПИСЬ|CTRL + SHIFT + F11",
      "СТОП|CTRL + SHIFT + F12",               "|"};
  std::vector<std::string> shownRows;
  for (const std::wstring& row : table) shownRows.push_back(efir::text::toAnsi(row));
  EXPECT_EQ(shownRows, rows);

  const std::string site = kProductSite;
  const std::vector<std::string> pages = {site + "/install.html", site, kDonationPage,
                                          kDonationPage};
  EXPECT_EQ(opened, pages);
}

TEST_F(UpdateCheck, AboutBoxHandlersNoControlRaisesOpenTheirPages) {
  StartPlayer();
  Form5->DonationLinkClick(Form5);
  Form5->ShortLink1Click(Form5);
  Form5->ShortLink2Click(Form5);
  Form5->ShortLink3Click(Form5);
  Form5->ShortLink4Click(Form5);
  Form5->sEdit1Click(Form5->sEdit1);
  const std::vector<std::string> pages = {kDonationPage, kShortLinks[0], kShortLinks[1],
                                          kShortLinks[2], kShortLinks[3]};
  EXPECT_EQ(opened, pages);
  EXPECT_FALSE(Form5->Visible());
}

TEST(UpdateVersion, OnlyAWholeNumberAboveThisVersionIsNewer) {
  const std::pair<const char*, bool> bodies[] = {
      {"86", true}, {" 90 \r\n", true}, {"85", false}, {"-86", false}, {"", false},
      {"8 6", false}, {"86a", false}, {"99999999999999999999", false}};
  for (const auto& [body, newer] : bodies) EXPECT_EQ(NewerVersionOffered(body), newer) << body;
}

}  // namespace
