// What the skin-state tests share: a default manager holding a small hand-made definition
// (no pictures but border records), and controls of the framework's kinds that own a
// TsCommonData and hand their messages to the common window procedure first, as every
// skinned control does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace efir::test {

template <class Base>
class Skinned : public Base {
 public:
  explicit Skinned(TComponent* owner, int kind = 0, bool cache = true)
      : Base(owner), SkinData(std::make_unique<TsCommonData>(this, cache)) {
    SkinData->ControlKind = kind;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD) Commands.push_back(SkinSubCommand(Message.WParam));
    if (SkinControlWndProc(Message, SkinData.get())) return;
    Reached.push_back(Message.Msg);
    Base::WndProc(Message);
  }
  void BeforeDestruction() override {
    Base::BeforeDestruction();
    if (OnGoing) OnGoing(this);
  }
  // Answered by the handler, the message would not reach the control's own handling.
  bool ReachedOwnHandling(UINT msg) const { return std::find(Reached.begin(), Reached.end(), msg) != Reached.end(); }

  std::unique_ptr<TsCommonData> SkinData;
  std::vector<WORD> Commands;  // sub-commands received
  std::vector<UINT> Reached;   // messages passed on to the control's own handling
  std::function<void(Skinned*)> OnGoing;
};

// A skinned windowed control that rebuilds its cache when it paints and the background has
// changed, as the skinned controls do.
class CachedBox : public Skinned<TCustomControl> {
 public:
  using Skinned::Skinned;
  int Rebuilds = 0;

 protected:
  void Paint() override {
    if (!SkinData->BackgroundChanged) return;
    SkinData->SizeCacheBitmap();
    ++Rebuilds;
    SkinData->BackgroundChanged = false;
  }
};

struct SectionRow {
  const char* Name;
  TColor Color;
  int Transparency;
  int GradientPercent;
  int BorderWL, BorderWR;  // a border record with these side widths; 0, 0: none
  bool GiveOwnFont;
};

class SkinStateTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_EQ(TsSkinManager::DefaultManager(), &manager);
    const SectionRow sections[] = {
        {"GLOBALINFO", 0x202020, 0, 0, 0, 0, false},
        {"PANEL", 0x112233, 0, 0, 0, 0, true},
        {"GLASS", 0x445566, 100, 0, 0, 0, false},
        {"HALF", 0x000000, 50, 0, 0, 0, false},
        {"FORTY", 0x0000FF, 40, 0, 0, 0, false},
        {"GRAD", 0x0A0A0A, 0, 50, 0, 0, false},
        {"MAGENTA", 0xFF00FF, 0, 0, 0, 0, false},
        {"FRAME12", 0x303030, 100, 0, 12, 12, false},
        {"FRAME13", 0x303030, 100, 0, 13, 12, false},
        {"THIN30", 0x303030, 0, 0, 15, 15, false},
        {"THICK31", 0x303030, 0, 0, 16, 15, false},
        {"EDIT", 0x0A0B0C, 0, 0, 3, 3, false},
        {"BUTTON", 0x5C4020, 0, 0, 5, 5, false},
        {"FIFTY", 0x121212, 50, 0, 0, 0, true},
        {"FIFTYONE", 0x131313, 51, 0, 0, 0, true},
        {"GROUPBOX", 0x141414, 100, 0, 3, 4, false},
    };
    for (const SectionRow& row : sections) {
      TsGeneralData& s = manager.GeneralData.emplace_back();
      s.SectionName = row.Name;
      s.Color = row.Color;
      s.FontColor[0] = 0xF0E0D0;
      s.Transparency = row.Transparency;
      s.GradientPercent = row.GradientPercent;
      s.GiveOwnFont = row.GiveOwnFont;
      if (row.BorderWL || row.BorderWR) {
        TsMaskData& m = manager.Masks.emplace_back();
        m.SectionName = row.Name;
        m.PropertyName = "BORDERSMASK";
        m.WL = row.BorderWL, m.WR = row.BorderWR;
        m.Manager = &manager;
      }
    }
    CacheFixedIndexes(manager);
    CacheSectionBorderIndexes(manager);
    manager.LoadedSkin.Active = true;
    form = NewForm(300, 200);
  }

  template <class Control = Skinned<TCustomControl>>
  Control* Place(TWinControl* parent, const char* section, RECT bounds = {10, 5, 60, 35}, int kind = 0) {
    auto* c = new Control(form, kind);
    c->SetParent(parent);
    c->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (section) c->SkinData->SetSkinSection(section);
    c->Commands.clear();
    return c;
  }

  int Section(const char* name) { return SectionIndexByName(&manager, name); }

  TsSkinManager manager{nullptr};
  TForm* form = nullptr;
};

}  // namespace efir::test
