// The number editors on their own: cleaning a text to a number, showing a value with its
// decimals and texts around it, the typing and paste filters under real messages, and the
// spin steps within the range.
#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "grid/number_editors.h"
#include "grid/tests/editor_fixture.h"
#include "grid/tests/pinned_locale.h"

using gridtest::PinnedSeparators;

namespace {

class NumberEditors : public gridtest::EditorTest {
 protected:
  // The clipboard must be opened by a window for SetClipboardData to take the text.
  static void PutOnClipboard(HWND owner, const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (text) {
      const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
      memcpy(GlobalLock(memory), text, bytes);
      GlobalUnlock(memory);
      SetClipboardData(CF_UNICODETEXT, memory);
    }
    CloseClipboard();
  }
};

}  // namespace

TEST(NumberCleaning, KeepsWhatANumberMayHold) {
  PinnedSeparators pinned('.');
  struct Case {
    std::wstring text;
    bool floats, signs;
    double min, max;
    std::wstring cleaned;
  };
  const Case cases[] = {
      {L"1a2b", true, true, 0, 0, L"12"},
      {L"1.2.3", true, true, 0, 0, L"1.23"},
      {L"1.5", false, true, 0, 0, L"15"},
      {L"-5", true, false, 0, 0, L"5"},
      {L"5-", true, true, 0, 0, L"5"},
      {L"-2.5", true, true, 0, 0, L"-2.5"},
      {L"-", true, true, 0, 0, L"0"},
      {L"+", true, true, 0, 0, L"0"},
      {L"kg", true, true, 3, 0, L"3"},       // nothing left: Min
      {L"50", true, true, 0, 10, L"10"},     // limited to the range
      {L"-50", true, true, -5, 10, L"-5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(grid::CleanNumber(c.text, c.floats, c.signs, c.min, c.max), c.cleaned)
        << efir::text::toUtf8(c.text);
  EXPECT_THROW(grid::CleanNumber(L"a.b", true, true), EConvertError);
}

TEST_F(NumberEditors, ShowsTheValueWithItsDecimalsTextsAndNullText) {
  PinnedSeparators pinned(',');
  auto* edit = Editor<TNxCustomNumberEdit>();
  edit->SetTextAfter(L" kg");
  edit->SetValue(3);
  EXPECT_EQ(edit->GetAsString(), L"3,00 kg");
  EXPECT_DOUBLE_EQ(edit->Value(), 3);
  edit->SetPrecision(0);
  edit->SetValue(2.5);
  EXPECT_EQ(edit->GetAsString(), L"2,5 kg");
  edit->SetOptions(eoAllowSigns);  // whole numbers only
  edit->SetValue(7);
  EXPECT_EQ(edit->GetAsString(), L"7 kg");

  edit->SetNullText(L"нет");
  EXPECT_EQ(edit->GetAsString(), L"нет");
  EXPECT_DOUBLE_EQ(edit->Value(), 0);
  edit->SetAsString({});
  EXPECT_DOUBLE_EQ(edit->Value(), 0) << "an empty text gives Min";

  // A text that stopped being a number is no number: the conversion error, not a guess.
  edit->SetOptions(eoAllowFloat);
  edit->SetAsString(L",");
  EXPECT_THROW(edit->BeforeApply(), EConvertError);
}

TEST_F(NumberEditors, TypingKeepsTheTextANumber) {
  PinnedSeparators pinned('.');
  auto* edit = Editor<TNxCustomNumberEdit>();
  edit->SetPrecision(0);
  struct Case {
    std::wstring text;
    int selStart, selEnd;
    wchar_t typed;
    std::wstring result;
  };
  const Case cases[] = {
      {L"12", 0, 0, L'-', L"-12"},
      {L"-12", 3, 3, L'-', L"-12"},  // a second sign
      {L"-12", 1, 1, L'+', L"-12"},
      {L"-12", 0, 1, L'+', L"+12"},  // over the selected sign
      {L"1.5", 3, 3, L'.', L"1.5"},  // a second separator
      {L"1.5", 1, 2, L'.', L"1.5"},  // over the selected one
      {L"15", 1, 1, L'.', L"1.5"},
      {L"12", 2, 2, L'x', L"12"},
      {L"12", 2, 2, L'3', L"123"},
  };
  for (const Case& c : cases) {
    edit->SetAsString(c.text);
    SendMessageW(edit->Handle(), EM_SETSEL, c.selStart, c.selEnd);
    SendMessageW(edit->Handle(), WM_CHAR, c.typed, 0);
    EXPECT_EQ(edit->GetAsString(), c.result) << efir::text::toUtf8(c.text) << " + " << char(c.typed);
  }

  edit->SetOptions(eoAllowFloat);  // no signs
  edit->SetAsString(L"12");
  SendMessageW(edit->Handle(), EM_SETSEL, 0, 0);
  SendMessageW(edit->Handle(), WM_CHAR, L'-', 0);
  EXPECT_EQ(edit->GetAsString(), L"12");

  edit->SetOptions(eoDisableTyping);
  SendMessageW(edit->Handle(), WM_CHAR, L'5', 0);
  SendMessageW(edit->Handle(), WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(edit->GetAsString(), L"12");
}

TEST_F(NumberEditors, PastingInsertsOnlyTheNumberInTheClipboard) {
  PinnedSeparators pinned('.');
  auto* edit = Editor<TNxCustomNumberEdit>();
  edit->SetMin(3);
  edit->SetMax(100);
  edit->SetAsString({});
  PutOnClipboard(edit->Handle(), L"1a2b");
  SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit->GetAsString(), L"12");

  edit->SetAsString({});
  PutOnClipboard(edit->Handle(), nullptr);
  SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit->GetAsString(), L"3") << "an empty clipboard pastes Min";

  edit->SetOptions(edit->Options() | eoDisablePaste);
  edit->SetAsString(L"7");
  PutOnClipboard(edit->Handle(), L"99");
  SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit->GetAsString(), L"7");
}

TEST_F(NumberEditors, SpinStepsStayInTheRangeAndTheSign) {
  PinnedSeparators pinned('.');
  struct Case {
    double from, min, max;
    TNxNumberEditOptions options;
    TSpinButtons button;
    std::wstring result;
  };
  const TNxNumberEditOptions signs = eoAllowFloat | eoAllowSigns, unsigned_ = eoAllowFloat;
  const Case cases[] = {
      {9.5, 0, 10, signs, sbUp, L"9.5"},  // 10.5 would leave the range
      {9, 0, 10, signs, sbUp, L"10"},
      {1, 1, 10, signs, sbDown, L"1"},
      {0, 0, 0, unsigned_, sbDown, L"0"},
      {0.5, 0, 0, unsigned_, sbDown, L"0"},  // no sign to show: the step stops at 0
      {0, 0, 0, signs, sbDown, L"-1"},
      {2.25, 0, 0, signs, sbUp, L"3.25"},
  };
  for (const Case& c : cases) {
    auto* spin = Editor<TNxSpinEdit>();
    spin->SetOptions(c.options);
    spin->SetMin(c.min);
    spin->SetMax(c.max);
    spin->SetValue(c.from);
    spin->Spin(c.button);
    EXPECT_EQ(spin->GetAsString(), c.result) << c.from << (c.button == sbUp ? " up" : " down");
  }

  auto* spin = Editor<TNxSpinEdit>();
  spin->SetValue(4);
  spin->SetReadOnly(true);
  spin->Spin(sbUp);
  EXPECT_EQ(spin->GetAsString(), L"4");
}

TEST_F(NumberEditors, PressingASpinButtonStepsOnceAtOnce) {
  auto* spin = Editor<TNxSpinEdit>();
  int spins = 0;
  spin->OnSpin = [&](TObject*, TSpinButtons) { ++spins; };
  spin->SetValue(5);
  TNxSpinButtonPair* pair = spin->ButtonPair();
  ASSERT_TRUE(IsWindowVisible(pair->Handle()));
  SendMessageW(pair->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, efir::test::At(2, pair->Height() - 3));
  SendMessageW(pair->Handle(), WM_LBUTTONUP, 0, efir::test::At(2, pair->Height() - 3));
  EXPECT_EQ(spin->GetAsString(), L"4");
  SendMessageW(pair->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, efir::test::At(2, 2));
  SendMessageW(pair->Handle(), WM_LBUTTONUP, 0, efir::test::At(2, 2));
  EXPECT_EQ(spin->GetAsString(), L"5");
  EXPECT_EQ(spins, 2);
  EXPECT_EQ(pair->Pressed(), 0);
}

TEST_F(NumberEditors, TheTextEditorReadsEmptyTextAsZeroAndRaisesForOtherText) {
  auto* edit = Editor<TNxEdit>();
  EXPECT_EQ(edit->GetAsFloat(), 0);
  EXPECT_EQ(edit->GetAsInteger(), 0);
  EXPECT_EQ(edit->GetAsDateTime(), 0);
  edit->SetAsString(L"дюжина");
  EXPECT_THROW(edit->GetAsFloat(), EConvertError);
  EXPECT_THROW(edit->GetAsInteger(), EConvertError);
  EXPECT_EQ(edit->GetAsString(), L"дюжина");
}
