// The animation settings a skin manager publishes (TsSkinManager::AnimEffects): which mouse
// transitions skinned buttons animate, and whether and how long forms animate when shown,
// on a page change and when they are repainted after a skin change.
//
//   manager->AnimEffects.SkinChanging.Time = 200;      // ms; below 8 means no animation
//   manager->AnimEffects.Buttons.Events = {beMouseEnter, beMouseLeave};
#pragma once

#include <cstdint>
#include <initializer_list>

enum TacBtnEvent : uint8_t { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
// The mouse transitions a skinned control fades on; aeGlobalDef: as the manager's button
// events say (AnimEffects.Buttons.Events; FadeEventAllowed, fade.h).
enum TacAnimatEvent : uint8_t { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };

// A set of events of one of the kinds above.
template <class Event>
class TacEventSet {
 public:
  constexpr TacEventSet(std::initializer_list<Event> events) {
    for (Event e : events) bits_ |= Bit(e);
  }
  constexpr bool Has(Event e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool operator==(const TacEventSet&) const = default;

 private:
  static constexpr uint8_t Bit(Event e) { return static_cast<uint8_t>(1u << e); }
  uint8_t bits_ = 0;
};
using TacBtnEvents = TacEventSet<TacBtnEvent>;
using TacAnimatEvents = TacEventSet<TacAnimatEvent>;

struct TacBtnEffects {
  TacBtnEvents Events{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
};

struct TacFormAnimation {
  bool Active = true;
  uint16_t Time = 0;  // milliseconds
};

// A sizeable or single-border form being shown.
struct TacFormShow : TacFormAnimation {};
// Any other form being shown.
struct TacDialogShow : TacFormAnimation {};
// Published for layouts; nothing reads it.
struct TacPageChange : TacFormAnimation {};
// Forms repainted after a skin change.
struct TacSkinChanging : TacFormAnimation {
  TacSkinChanging() { Time = 100; }
};

struct TacAnimEffects {
  TacBtnEffects Buttons;
  TacDialogShow DialogShow;
  TacFormShow FormShow;
  TacPageChange PageChange;
  TacSkinChanging SkinChanging;
};
