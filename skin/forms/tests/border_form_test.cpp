// The extended-border window around a real owner window: where it lies (the owner's rectangle
// grown by the shadow margins and the extended frame, as the owner's frame image has them),
// that a maximized owner shows no shadow, where clicks on the shadow and on the wide frame go,
// and that a skinned bordered form gets one and loses it with the skin.
#include "skin/forms/border_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/forms.h"
#include "framework/gdi.h"
#include "framework/main_menu.h"
#include "framework/messages.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_startup.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

constexpr int kSkinBorder = 12, kSkinTitle = 40;

// Messages a plain test window received.
struct Received {
  UINT Msg;
  WPARAM WParam;
};
std::vector<std::pair<HWND, Received>> received;

LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN || msg == WM_NCLBUTTONDOWN) received.push_back({wnd, {msg, wParam}});
  if (msg == WM_NCLBUTTONDOWN) return 0;  // no system move loop in a test
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND RecordingWindow(DWORD style, RECT r) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"BorderFormTestWindow";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  HWND wnd = CreateWindowExW(0, L"BorderFormTestWindow", L"", style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOWNORMAL);
  return wnd;
}

bool ReceivedBy(HWND wnd, UINT msg, WPARAM* wParam = nullptr) {
  for (const auto& [target, r] : received)
    if (target == wnd && r.Msg == msg) {
      if (wParam) *wParam = r.WParam;
      return true;
    }
  return false;
}

void Click(POINT p) {
  SetCursorPos(p.x, p.y);
  pumpFor(50);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
  pumpFor(150);
}

// An owner as the frame Parts describe it: its frame image carries the extended frame and the
// shadow margins around the window.
class PlainOwner : public TacBorderOwner {
 public:
  PlainOwner(HWND wnd, TsSkinManager* manager) : wnd_(wnd), data_(nullptr, false) {
    data_.SetSkinManager(manager);
    data_.BackgroundChanged = false;
    ResizeImage();
  }
  // The frame image for the window as it is now.
  void ResizeImage() {
    RECT r;
    GetWindowRect(wnd_, &r);
    const RECT m = data_.SkinManager()->ExtBorderMargins;
    const int side = SideMargin(), top = TopMargin();
    const int w = r.right - r.left + 2 * side + m.left + m.right, h = r.bottom - r.top + side + top + m.top + m.bottom;
    data_.CacheBitmap = NewBitmap32(w, h);
    // A faint shadow round an opaque frame: the system lets clicks through fully clear pixels
    // of its own accord, so the shadow is not clear here.
    for (int y = 0; y < h; ++y) {
      auto* row = static_cast<uint8_t*>(data_.CacheBitmap->ScanLine(y));
      const bool inRows = y >= m.top && y < h - m.bottom;
      for (int x = 0; x < w; ++x) {
        const bool frame = inRows && x >= m.left && x < w - m.right;
        FillPixels32(row + 4 * x, 1, frame ? 0xFF406080u : 0x40000000u);
      }
    }
  }
  int SideMargin() const {
    const TacBorderFormInfo info{data_.SkinManager()};
    return FrameBorderWidth(wnd_, &info, true) - FrameBorderWidth(wnd_, nullptr, false);
  }
  int TopMargin() const { return OwnerCaptionHeight(true) - OwnerCaptionHeight(false) - FrameBorderWidth(wnd_, nullptr, false); }

  HWND OwnerWnd() const override { return wnd_; }
  TsCommonData* OwnerSkinData() const override { return const_cast<TsCommonData*>(&data_); }
  UpdateState OwnerUpdateState() const override { return IsWindowVisible(wnd_) ? UpdateState::Go : UpdateState::Hide; }
  void SetOwnerHotButton(int) override {}
  int OwnerCaptionHeight(bool useExt) const override { return useExt ? kSkinTitle : GetSystemMetrics(SM_CYCAPTION); }
  int OwnerMenuHeight() const override { return 0; }
  RECT OwnerIconRect() const override { return {}; }
  int OwnerButtonAt(POINT) const override { return 0; }
  void RebuildOwnerImage() override {}
  void StopOwnerGlows() override { ++glowStops; }
  void OwnerCaptionDoubleClick() override { events.push_back("caption double click"); }
  void OwnerEndDrag(POINT) override { events.push_back("end drag"); }
  bool OwnerModal() const override { return modal; }
  bool OwnerGripAt(POINT) const override { return grip; }
  std::optional<int> OwnerShortTitleTop() const override { return shortTitleTop; }

  int glowStops = 0;
  std::vector<std::string> events;
  bool modal = false, grip = false;
  std::optional<int> shortTitleTop;

 private:
  HWND wnd_;
  TsCommonData data_;
};

class BorderFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    received.clear();
    // The built-in shadow pictures give the margins of a skin without its own.
    if (!ShadowPngActive) StartSkinEngine();
    skin.manager->SetExtendedBorders(true);
    margins = skin.manager->ExtBorderMargins;
    ASSERT_GT(margins.left, 0) << "extended borders are prepared with the skin";
    below = RecordingWindow(WS_POPUP, {50, 50, 650, 450});
    owner = RecordingWindow(WS_OVERLAPPEDWINDOW, {200, 150, 500, 350});
    auto made = std::make_unique<PlainOwner>(owner, skin.manager.get());
    plain = made.get();
    border = std::make_unique<TacBorderForm>(std::move(made));
    border->UpdateBorderForm(true, 255);
    pumpFor(50);
  }
  void TearDown() override {
    border.reset();
    DestroyWindow(owner);
    DestroyWindow(below);
  }

  RECT BorderRect() const {
    RECT r{};
    GetWindowRect(border->Window(), &r);
    return r;
  }

  DialogSkin skin{SkinExtras{"BORDERWIDTH=" + std::to_string(kSkinBorder) + "\r\nTITLEHEIGHT=" +
                             std::to_string(kSkinTitle) + "\r\n"}};
  RECT margins{};
  HWND below = nullptr, owner = nullptr;
  PlainOwner* plain = nullptr;
  std::unique_ptr<TacBorderForm> border;
};

TEST_F(BorderFormTest, LiesAroundTheOwnerByTheMarginsAndTheExtendedFrameAndFollowsIt) {
  const int side = plain->SideMargin(), top = plain->TopMargin();
  ASSERT_GT(side, 0) << "the skin's border is wider than the window's own frame";
  for (const RECT place : {RECT{200, 150, 500, 350}, RECT{260, 170, 640, 420}}) {
    SCOPED_TRACE(place.left);
    MoveWindow(owner, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    plain->ResizeImage();
    border->UpdateBorderForm(false, 255);
    const RECT r = BorderRect();
    EXPECT_EQ(r.left, place.left - side - margins.left);
    EXPECT_EQ(r.top, place.top - top - margins.top);
    EXPECT_EQ(r.right, place.right + side + margins.right);
    EXPECT_EQ(r.bottom, place.bottom + side + margins.bottom);
  }
  EXPECT_TRUE(IsWindowVisible(border->Window()));
  EXPECT_EQ(GetWindow(owner, GW_HWNDNEXT), border->Window()) << "directly behind its owner";
  EXPECT_EQ(border->LastAlpha, 255);
  ShowWindow(owner, SW_HIDE);
  border->UpdateBorderForm(false, 255);
  EXPECT_FALSE(IsWindowVisible(border->Window())) << "a hidden owner takes its shadow along";
}

TEST_F(BorderFormTest, AMaximizedOwnerShowsNoShadow) {
  RECT inShadow = BorderRect();
  const POINT shadow{inShadow.left + margins.left / 2, (inShadow.top + inShadow.bottom) / 2};
  EXPECT_TRUE(border->InShadowZone(WM_NCHITTEST, MAKELPARAM(shadow.x, shadow.y)));
  HRGN none = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(border->Window(), none), ERROR) << "a normal owner's border window is whole";

  ShowWindow(owner, SW_MAXIMIZE);
  plain->ResizeImage();
  border->UpdateBorderForm(true, 255);
  const RECT r = BorderRect();
  const int w = r.right - r.left;
  const int imageHeight = plain->OwnerSkinData()->CacheBitmap->Height();
  ASSERT_NE(GetWindowRgn(border->Window(), none), ERROR);
  RECT box{};
  GetRgnBox(none, &box);
  DeleteObject(none);
  EXPECT_GE(box.left, margins.left);
  EXPECT_GE(box.top, margins.top);
  EXPECT_LE(box.right, w - margins.right);
  EXPECT_LE(box.bottom, imageHeight - margins.bottom);
  EXPECT_LT(border->LastSize.cy, imageHeight - margins.bottom + 1) << "the picture is shown without its bottom margin";
  EXPECT_FALSE(border->InShadowZone(WM_NCHITTEST, MAKELPARAM(r.left + 1, r.top + margins.top + 10)));
}

TEST_F(BorderFormTest, AClickOnTheFrameGoesToTheOwnerAndOneOnTheShadowToTheWindowBelow) {
  const RECT r = BorderRect();
  RECT o;
  GetWindowRect(owner, &o);
  const int middle = (o.top + o.bottom) / 2;
  Click({r.left + margins.left + 1, o.top + 60});
  WPARAM hit = 0;
  EXPECT_FALSE(ReceivedBy(below, WM_LBUTTONDOWN));
  ASSERT_TRUE(ReceivedBy(owner, WM_NCLBUTTONDOWN, &hit)) << "the wide frame belongs to the owner";
  EXPECT_EQ(hit, static_cast<WPARAM>(-1)) << "the owner hit-tests through the border window";
  EXPECT_EQ(border->HitTest({r.left + margins.left + 1, middle}), HTLEFT);
  EXPECT_EQ(border->HitTest({(r.left + r.right) / 2, r.top + margins.top + 10}), HTCAPTION);

  received.clear();
  Click({r.left + margins.left / 2, middle});
  EXPECT_TRUE(ReceivedBy(below, WM_LBUTTONDOWN)) << "the shadow lets the click through";
  EXPECT_FALSE(ReceivedBy(owner, WM_NCLBUTTONDOWN));
}

TEST_F(BorderFormTest, AMaximizedOwnerWithAShortTitleLiesBelowTheTopMarginAndTheExtendedTop) {
  ShowWindow(owner, SW_MAXIMIZE);
  plain->shortTitleTop = 7;
  plain->ResizeImage();
  border->UpdateBorderForm(true, 255);
  RECT o;
  GetWindowRect(owner, &o);
  EXPECT_EQ(BorderRect().top, o.top - (FrameBorderWidth(owner, nullptr, false) + margins.top + 7));
}

TEST_F(BorderFormTest, ADoubleClickOnTheCaptionEndsTheOwnersDragFirst) {
  const RECT r = BorderRect();
  const POINT caption{(r.left + r.right) / 2, r.top + margins.top + 10};
  SendMessageW(border->Window(), WM_NCLBUTTONDBLCLK, 19, MAKELPARAM(caption.x, caption.y));
  EXPECT_EQ(plain->events, (std::vector<std::string>{"end drag", "caption double click"}));
}

TEST_F(BorderFormTest, TheOwnersSizeGripAnswersAsTheBottomRightCorner) {
  RECT o;
  GetWindowRect(owner, &o);
  const POINT inside{(o.left + o.right) / 2, o.bottom - 20};
  EXPECT_EQ(border->HitTest(inside), HTTRANSPARENT);
  plain->grip = true;
  EXPECT_EQ(border->HitTest(inside), HTBOTTOMRIGHT);
}

TEST_F(BorderFormTest, AClickThroughTheShadowOfAModalOwnerLeavesTheRegionWhole) {
  const RECT r = BorderRect();
  const LPARAM shadow = MAKELPARAM(margins.left / 2, (r.bottom - r.top) / 2);
  for (const bool modal : {true, false}) {
    SCOPED_TRACE(modal);
    plain->modal = modal;
    SetWindowRgn(border->Window(), nullptr, FALSE);
    SendMessageW(border->Window(), WM_LBUTTONDOWN, MK_LBUTTON, shadow);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(border->Window(), region) != ERROR, !modal) << "a one-pixel hole only for a modeless owner";
    DeleteObject(region);
  }
}

TEST_F(BorderFormTest, MovingTheBorderWindowStopsTheOwnersFades) {
  const int before = plain->glowStops;
  RECT o;
  GetWindowRect(owner, &o);
  MoveWindow(owner, o.left + 30, o.top, o.right - o.left, o.bottom - o.top, TRUE);
  border->UpdateBorderForm(false, 255);
  EXPECT_GT(plain->glowStops, before);
}

// A skinned bordered form gets its border window from the provider, behind it, and loses it
// with the extended borders.
TEST(ProviderBorderForm, ASkinnedBorderedFormHasOneWhileExtendedBordersAreOn) {
  DialogSkin skin;
  skin.manager->SetExtendedBorders(true);
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBounds(150, 150, 300, 200);
  form->Show();
  SetForegroundWindow(form->Handle());
  pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(provider->BorderForm, nullptr);
  HWND window = provider->BorderForm->Window();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(GetWindow(form->Handle(), GW_HWNDNEXT), window) << "directly behind the form";
  provider->BuildFormFrameImage();
  ASSERT_NE(provider->SkinData->CacheBitmap, nullptr);
  provider->UpdateBorderFormPresence(false);
  EXPECT_EQ(provider->BorderForm, nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(provider->SkinData->CacheBitmap->PixelFormat(), pf24bit);
  provider->UpdateBorderFormPresence(true);
  ASSERT_NE(provider->BorderForm, nullptr);
  EXPECT_EQ(provider->SkinData->CacheBitmap->PixelFormat(), pf32bit) << "the shadow needs the alpha channel";
  window = provider->BorderForm->Window();
  // While the form is being shown its border window waits, and follows once it is.
  ShowWindow(window, SW_HIDE);
  provider->FormBeingShown = true;
  provider->BorderForm->UpdateBorderForm(true, 255);
  EXPECT_FALSE(IsWindowVisible(window));
  provider->FormBeingShown = false;
  provider->BorderForm->UpdateBorderForm(true, 255);
  EXPECT_TRUE(IsWindowVisible(window));
  skin.manager->SetActive(false);
  pumpFor(50);
  EXPECT_FALSE(IsWindow(window)) << "the skin's going takes the border window";
  form->Free();
}

// The user title buttons answer in the border window's own hit test as they do on a form
// without one, and a click the border window hands on without a code reaches the button.
TEST(ProviderBorderForm, UserTitleButtonsAnswerThroughTheBorderWindow) {
  SkinExtras extras;
  extras.Global = "BICONCLOSE=!CLOSE.BMP!3!1!2\r\n";
  extras.Sections = "[FORM]\r\nCOLOR=" + Hex(dlg::Face) + "\r\nHOTCOLOR=" + Hex(dlg::Face) + "\r\n";
  DialogSkin skin(extras);
  skin.manager->SetExtendedBorders(true);
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBounds(150, 150, 320, 200);
  form->Show();
  SetForegroundWindow(form->Handle());
  pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(provider->BorderForm, nullptr);
  TsTitleButton& pin = provider->TitleButtons.Add();
  pin.Hint = "Pin";
  TsTitleButton& off = provider->TitleButtons.Add();
  off.Enabled = false;
  std::vector<std::string> events;
  pin.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("down"); };
  pin.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  provider->SkinData->BackgroundChanged = true;
  provider->BuildFormFrameImage();
  provider->BorderForm->UpdateBorderForm(true, 255);
  RECT border;
  GetWindowRect(provider->BorderForm->Window(), &border);
  auto centre = [&](const RECT& r) {
    return POINT{border.left + (r.left + r.right) / 2, border.top + (r.top + r.bottom) / 2};
  };
  ASSERT_GT(pin.Data.Rect.right, pin.Data.Rect.left);
  SetCursorPos(centre(pin.Data.Rect).x, centre(pin.Data.Rect).y);
  pumpFor(50);
  EXPECT_EQ(provider->BorderForm->HitTest(centre(pin.Data.Rect)), 1000);
  EXPECT_EQ(pin.Data.State, 1) << "hot under the mouse";
  EXPECT_TRUE(pin.HintWindow) << "with its hint";
  EXPECT_EQ(provider->BorderForm->HitTest(centre(off.Data.Rect)), HTCAPTION) << "a disabled button is caption";
  EXPECT_EQ(provider->BorderForm->HitTest(centre(provider->ButtonClose.Rect)), HTCLOSE);

  const POINT at = centre(pin.Data.Rect);
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(-1), MAKELPARAM(at.x, at.y));
  EXPECT_EQ(pin.Data.State, 2) << "pressed";
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, static_cast<WPARAM>(-1), MAKELPARAM(at.x, at.y));
  EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
  form->Free();
}

// With a border window the frame image is larger than the window: the client, the menu line
// and what the transparent child controls show behind them come from where the window lies in
// that image, not from its top-left corner (which holds the shadow and the caption).
TEST(ProviderBorderForm, ClientMenuLineAndChildBackgroundComeFromTheWindowsPlaceInTheImage) {
  constexpr TColor kForm = 0x2080C0, kMenuLine = 0x206020, kMenuItem = 0x602080;
  if (!ShadowPngActive) StartSkinEngine();  // the built-in shadow: margins round the frame
  auto section = [](const char* name, TColor colour) {
    return std::string("[") + name + "]\r\nCOLOR=" + Hex(colour) + "\r\nHOTCOLOR=" + Hex(colour) + "\r\n";
  };
  DialogSkin skin(SkinExtras{"BORDERWIDTH=" + std::to_string(kSkinBorder) + "\r\nTITLEHEIGHT=" +
                                 std::to_string(kSkinTitle) + "\r\n",
                             section("FORM", kForm) + section("MENULINE", kMenuLine) +
                                 section("MENUITEM", kMenuItem)});
  skin.manager->SetExtendedBorders(true);
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBounds(150, 150, 320, 220);
  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Файл");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  // The check box's own section is transparent: it shows the form behind it.
  auto* box = efir::Place(new TsCheckBox(form), form, 0, 0, 150, 24);
  box->SetCaption("A");
  form->Show();
  SetForegroundWindow(form->Handle());
  pumpFor(150);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(provider->BorderForm, nullptr);
  const RECT margins = skin.manager->ExtBorderMargins;
  ASSERT_GT(margins.left, 0);
  EXPECT_EQ(provider->ClientOffsetX(), margins.left + kSkinBorder);
  EXPECT_EQ(provider->ClientOffsetY(), margins.top + kSkinTitle + GetSystemMetrics(SM_CYMENU));

  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  const int w = form->ClientWidth(), h = form->ClientHeight();
  const Image client = captureScreen({origin.x, origin.y, origin.x + w, origin.y + h});
  const struct {
    const char* What;
    POINT At;
  } formPixels[] = {{"client's top left past the box", {w - 1, 0}},
                    {"client's left edge", {0, h / 2}},
                    {"client's middle", {w / 2, h / 2}},
                    {"client's bottom right", {w - 1, h - 1}},
                    {"the check box right of its text", {140, 2}}};
  for (const auto& p : formPixels) EXPECT_EQ(client.at(p.At.x, p.At.y), kForm) << p.What;

  RECT itemRect;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), 0, &itemRect));
  const Image line = captureScreen({itemRect.left, itemRect.top, origin.x + w, itemRect.bottom});
  EXPECT_EQ(line.at((itemRect.right - itemRect.left) / 2, 1), kMenuItem) << "the item";
  EXPECT_EQ(line.at(line.width - 4, line.height / 2), kMenuLine) << "the line past the item";
  form->Free();
}

// A message box under a skin with extended borders: its frame, caption and buttons lie in a
// border window behind it, drawn with the shadow round them, and its close button works
// through that window.
TEST(DialogBorderForm, AMessageBoxShowsItsFrameInABorderWindowAndClosesThroughIt) {
  if (!ShadowPngActive) StartSkinEngine();
  DialogSkin skin{SkinExtras{"BORDERWIDTH=" + std::to_string(kSkinBorder) + "\r\nTITLEHEIGHT=" +
                             std::to_string(kSkinTitle) + "\r\n"}};
  skin.manager->SetExtendedBorders(true);
  const RECT margins = skin.manager->ExtBorderMargins;
  bool checked = false;
  const int answer = WithMessageBox(L"Extended borders", MB_OKCANCEL, [&](HWND box) {
    auto* dialog = dynamic_cast<TacDialogWnd*>(AdapterOfWindow(box));
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->BorderForm, nullptr);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(80);
    HWND border = dialog->BorderForm->Window();
    EXPECT_TRUE(IsWindowVisible(border));
    EXPECT_EQ(GetWindow(box, GW_HWNDNEXT), border) << "directly behind the box";
    RECT outer, window;
    GetWindowRect(border, &outer);
    GetWindowRect(box, &window);
    const POINT at = dialog->WindowInCache();
    EXPECT_EQ(window.left - outer.left, at.x);
    EXPECT_EQ(window.top - outer.top, at.y);
    EXPECT_EQ(at.x, margins.left + kSkinBorder - GetSystemMetrics(SM_CXDLGFRAME));

    TBitmap& cache = *dialog->SkinData->CacheBitmap;
    ASSERT_EQ(cache.PixelFormat(), pf32bit);
    EXPECT_EQ(outer.right - outer.left, cache.Width());
    EXPECT_EQ(outer.bottom - outer.top, cache.Height());
    auto alpha = [&](int x, int y) { return static_cast<const uint8_t*>(cache.ScanLine(y))[x * 4 + 3]; };
    EXPECT_EQ(alpha(margins.left + 2, cache.Height() / 2), 255) << "the frame is opaque";
    EXPECT_LT(alpha(margins.left / 2, cache.Height() / 2), 255) << "the shadow is not";
    EXPECT_EQ(GetPixel(cache.Canvas().Handle(), margins.left + kSkinBorder + 1, margins.top + 2),
              static_cast<COLORREF>(dlg::TitleActive))
        << "the caption band of the extended height";

    // A layered window's own pixels read black: the picture is what the screen shows.
    savePng(captureScreen(outer), saveScreenshot(box, "message_box_extended_border"));
    // The window itself keeps only its client part.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(box, region), ERROR);
    RECT kept;
    GetRgnBox(region, &kept);
    DeleteObject(region);
    EXPECT_EQ(kept.top, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXDLGFRAME));

    const RECT close = dialog->ButtonClose.Rect;
    ASSERT_GT(close.right, close.left);
    const POINT c{outer.left + (close.left + close.right) / 2, outer.top + (close.top + close.bottom) / 2};
    // The mouse over the button, as the user has it (a hit test elsewhere would cool it).
    SetCursorPos(c.x, c.y);
    pumpFor(50);
    EXPECT_EQ(dialog->BorderForm->HitTest(c), HTCLOSE);
    EXPECT_EQ(dialog->ButtonClose.State, 1) << "hot under the mouse";
    SendMessageW(box, WM_NCLBUTTONDOWN, static_cast<WPARAM>(-1), MAKELPARAM(c.x, c.y));
    EXPECT_EQ(dialog->ButtonClose.State, 2) << "pressed";
    SendMessageW(box, WM_NCLBUTTONUP, static_cast<WPARAM>(-1), MAKELPARAM(c.x, c.y));
    checked = true;
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(answer, IDCANCEL) << "closed through the border window";
}

// A skinned bordered form with extended borders, shown and settled, and its border window.
class ProviderBorderWindow : public ::testing::Test {
 public:  // the modal test's timer reaches in
  explicit ProviderBorderWindow(int titleHeight = kSkinTitle)
      : skin(SkinExtras{"BORDERWIDTH=" + std::to_string(kSkinBorder) + "\r\nTITLEHEIGHT=" +
                            std::to_string(titleHeight) + "\r\n",
                        "[FORM]\r\nCOLOR=" + Hex(dlg::Face) + "\r\n"}) {}
  void SetUp() override {
    skin.manager->SetExtendedBorders(true);
    form = efir::Construct<TForm>(nullptr);
    form->SetBounds(150, 150, 300, 200);
  }
  void TearDown() override { form->Free(); }
  void ShowSettled() {
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpFor(100);
    provider = ProviderOfForm(form);
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(provider->BorderForm, nullptr);
    window = provider->BorderForm->Window();
  }
  static RECT RectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
  }
  // The form moves while its border window holds still; the message must bring the border
  // window round the form again.
  void ExpectFollows(UINT msg, WPARAM wParam, LPARAM lParam, const char* what, bool follows = true) {
    RECT expected = RectOf(window);
    const RECT f = RectOf(form->Handle());
    provider->BorderForm->Updating = true;
    SetWindowPos(form->Handle(), nullptr, f.left + 30, f.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    provider->BorderForm->Updating = false;
    RECT now = RectOf(window);
    ASSERT_TRUE(EqualRect(&now, &expected)) << what << ": the border window held still";
    SendMessageW(form->Handle(), msg, wParam, lParam);
    if (follows) OffsetRect(&expected, 30, 20);
    now = RectOf(window);
    EXPECT_TRUE(EqualRect(&now, &expected)) << what << ": at " << now.left << "," << now.top << " "
                                            << now.right - now.left << "x" << now.bottom - now.top;
  }

  DialogSkin skin;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  HWND window = nullptr;
};

TEST_F(ProviderBorderWindow, FollowsSizingActivationAndTheRefreshCommands) {
  ShowSettled();
  RECT sizing = RectOf(form->Handle());
  ExpectFollows(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing), "WM_SIZING");
  ExpectFollows(CM_ACTIVATE, 0, 0, "CM_ACTIVATE");
  ExpectFollows(SM_ALPHACMD, MakeSkinWParam(SKC_REFRESH), reinterpret_cast<LPARAM>(skin.manager.get()), "SKC_REFRESH");
  ExpectFollows(SM_ALPHACMD, MakeSkinWParam(SKC_REFRESHBORDERFORM), 0, "SKC_REFRESHBORDERFORM");
  ExpectFollows(WM_NULL, 0, 0, "WM_NULL, which the border window does not follow", false);
  // The size too: after the form grew behind its back, a refresh gives the border window the
  // new frame image's size.
  const RECT small = RectOf(window);
  provider->BorderForm->Updating = true;
  SetWindowPos(form->Handle(), nullptr, 0, 0, 360, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  provider->BorderForm->Updating = false;
  SendSkinCommandToWindow(form->Handle(), SKC_REFRESH, reinterpret_cast<LPARAM>(skin.manager.get()));
  const RECT r = RectOf(window);
  ASSERT_NE(provider->SkinData->CacheBitmap, nullptr);
  EXPECT_EQ(r.right - r.left, provider->SkinData->CacheBitmap->Width());
  EXPECT_EQ(r.bottom - r.top, provider->SkinData->CacheBitmap->Height());
  EXPECT_EQ((r.right - r.left) - (small.right - small.left), 60);
  EXPECT_EQ((r.bottom - r.top) - (small.bottom - small.top), 60);
}

// The extended borders and the skinned frame switched on a shown form: the border window comes
// and goes with them, a coming border window first ends the user buttons' fades (they lie over
// the form's own window), and without the skinned frame the form has no region.
TEST_F(ProviderBorderWindow, AllowExtBordersAndDrawNonClientAreaMakeOrFreeTheBorderWindow) {
  ShowSettled();
  TsTitleButton& pin = provider->TitleButtons.Add();
  provider->RefreshNonClient();
  pumpFor(50);
  provider->SetAllowExtBorders(false);
  EXPECT_EQ(provider->BorderForm, nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(provider->ClientOffsetY(), provider->Form->Height() - provider->Form->ClientHeight() -
                                           provider->FrameBorderWidth(false))
      << "the client in window coordinates again";

  StartButtonAnimation(pin.Data, 1, 10, provider->GlowSource(), false);
  ASSERT_NE(pin.Data.GlowTimer, nullptr);
  provider->SetAllowExtBorders(true);
  ASSERT_NE(provider->BorderForm, nullptr);
  EXPECT_TRUE(IsWindowVisible(provider->BorderForm->Window()));
  EXPECT_EQ(pin.Data.GlowTimer, nullptr) << "the user button's fade ended";

  window = provider->BorderForm->Window();
  provider->SetDrawNonClientArea(false);
  EXPECT_EQ(provider->BorderForm, nullptr);
  EXPECT_FALSE(IsWindow(window));
  efir::gdi::Object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form->Handle(), region.get()), ERROR) << "no region";
  provider->SetDrawNonClientArea(true);
  pumpFor(50);
  ASSERT_NE(provider->BorderForm, nullptr) << "the extended borders are still on";
  EXPECT_TRUE(IsWindowVisible(provider->BorderForm->Window()));
}

// A border window that was hidden behind the form's back shows again with the form's next paint.
TEST_F(ProviderBorderWindow, AHiddenBorderWindowShowsAgainWithTheFormsPaint) {
  ShowSettled();
  ShowWindow(window, SW_HIDE);
  ASSERT_FALSE(IsWindowVisible(window));
  InvalidateRect(form->Handle(), nullptr, FALSE);
  UpdateWindow(form->Handle());
  EXPECT_TRUE(IsWindowVisible(window));
}

// Only a modal form's border window follows the end of a move or resize: the command that
// tells every skinned window to repaint reaches the modal form too.
ProviderBorderWindow* modalFixture = nullptr;
bool modalChecked = false;

TEST_F(ProviderBorderWindow, AModalFormsBorderWindowFollowsTheEndOfASizeOrMove) {
  modalFixture = this;
  modalChecked = false;
  form->SetPosition(poDesigned);
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ProviderBorderWindow& f = *modalFixture;
    f.provider = ProviderOfForm(f.form);
    if (f.provider && f.provider->BorderForm && f.form->Modal()) {
      f.window = f.provider->BorderForm->Window();
      f.ExpectFollows(WM_EXITSIZEMOVE, 0, 0, "WM_EXITSIZEMOVE");
      f.ExpectFollows(SM_ALPHACMD, MakeSkinWParam(SKC_REPAINTGRAPHICS), 0, "SKC_REPAINTGRAPHICS");
      modalChecked = true;
    }
    f.form->SetModalResult(mrOk);
  });
  ASSERT_NE(timer, 0u);
  form->ShowModal();
  EXPECT_TRUE(modalChecked) << "the modal form had its border window";
}

// A maximized form whose skin title is hardly higher than the system caption keeps a caption
// of the system height + 4 and lies lower in its border window; a higher title does not.
class ShortTitle : public ProviderBorderWindow, public ::testing::WithParamInterface<int> {
 protected:
  ShortTitle() : ProviderBorderWindow(GetSystemMetrics(SM_CYCAPTION) + GetParam()) {}
};

TEST_P(ShortTitle, AMaximizedFormWithAShortTitleMovesCaptionRegionAndBorderWindow) {
  const int system = GetSystemMetrics(SM_CYCAPTION);
  const bool isShort = GetParam() < 4;
  ShowSettled();
  EXPECT_FALSE(provider->ZoomedShortTitle) << "only maximized";
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  pumpFor(150);
  ASSERT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(provider->ZoomedShortTitle, isShort);
  EXPECT_EQ(provider->CaptionHeight(false), isShort ? system + 4 : system);
  EXPECT_EQ(provider->CaptionHeight(true), isShort ? system + 4 : system + GetParam());
  // The window region starts below the caption the border window draws.
  efir::gdi::Object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form->Handle(), region.get()), ERROR);
  RECT box;
  GetRgnBox(region.get(), &box);
  const int frame = provider->FrameBorderWidth(false);
  EXPECT_EQ(box.top, isShort ? frame + system : provider->FrameTopBorderWidth(false) + system + frame)
      << "top of the region";
  // The border window lies above the form by its shadow, and by the part of the skin's title
  // that is higher than the window's own caption.
  const RECT o = RectOf(form->Handle()), b = RectOf(window);
  const int shadowTop = skin.manager->ExtBorderMargins.top;
  EXPECT_EQ(o.top - b.top, isShort ? shadowTop : shadowTop + GetParam() - frame);
  ShowWindow(form->Handle(), SW_RESTORE);
  pumpFor(100);
  EXPECT_FALSE(provider->ZoomedShortTitle) << "restored";
}

INSTANTIATE_TEST_SUITE_P(TitleAboveTheSystemCaption, ShortTitle, ::testing::Values(1, 12));

}  // namespace
}  // namespace efir::test
