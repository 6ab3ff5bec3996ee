// Property access by name, for the engine's parts that meet controls they know only as
// components (window adapters asking a control for a setting it may or may not have). There
// is no run-time type information: a property exists for these routines when it is listed in
// the registry below, for the class (and its descendants) that publishes it. The registry
// starts with the framework's and the engine's own settings; a class adds its own with
// RegisterPublishedProp.
//
//   if (HasPublishedProp(control, "TabStop")) SetOrdPropByName(control, "TabStop", 0);
//   ChangeSetPropValue(manager, "SkinningRules", "srThirdParty", false);
//   if (auto* onDraw = EventPropByName<TNotifyEvent>(control, "OnDraw"); onDraw && !*onDraw) *onDraw = ...;
//
// Names are compared blind to case; set elements exactly. An event is reached through its
// slot, typed by the event's handler type: asked for with another type it is not there.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "framework/component.h"

enum class TPropKind { Ordinal, Object, Set, String, Method };

struct TPublishedProp {
  std::string Name;
  TPropKind Kind = TPropKind::Ordinal;
  // The instance is of the class that publishes the property.
  std::function<bool(TObject*)> Applies;
  // Ordinal and set values (a set as bits, element i at bit i).
  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<TObject*(TObject*)> GetObject;
  // The element names of a set, in bit order.
  std::vector<std::string> ElementNames;
  std::function<std::string(TObject*)> GetStr;
  // An event: the handler slot of the instance, of type *SlotType.
  std::function<void*(TObject*)> Slot;
  const std::type_info* SlotType = nullptr;
};

void RegisterPublishedProp(TPublishedProp prop);

// An ordinal (or Boolean) property of class T through its getter and setter.
template <class T, class Get, class Set>
TPublishedProp OrdinalProp(std::string name, Get get, Set set) {
  return {std::move(name), TPropKind::Ordinal, [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; },
          [get](TObject* o) { return static_cast<int64_t>(get(*dynamic_cast<T*>(o))); },
          [set](TObject* o, int64_t v) { set(*dynamic_cast<T*>(o), v); }, nullptr, {}};
}

// An event property of class T: its handler member.
template <class T, class Event>
TPublishedProp EventProp(std::string name, Event T::*slot) {
  TPublishedProp prop{std::move(name), TPropKind::Method, [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; }};
  prop.Slot = [slot](TObject* o) -> void* { return &(dynamic_cast<T*>(o)->*slot); };
  prop.SlotType = &typeid(Event);
  return prop;
}

// A read-only string property of class T.
template <class T, class Get>
TPublishedProp StringProp(std::string name, Get get) {
  TPublishedProp prop{std::move(name), TPropKind::String, [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; }};
  prop.GetStr = [get](TObject* o) { return std::string(get(*dynamic_cast<T*>(o))); };
  return prop;
}

bool HasPublishedProp(TObject* instance, std::string_view name);
// The object an object-typed property holds; nullptr when there is no such property.
TObject* GetObjectPropByName(TObject* instance, std::string_view name);
// An ordinal property's value; -1 when there is no such property.
int64_t GetOrdPropByName(TObject* instance, std::string_view name);
// Sets it when the property exists.
void SetOrdPropByName(TObject* instance, std::string_view name, int64_t value);
// The set property holds the element named exactly `element`.
bool SetPropHasValue(TObject* instance, std::string_view name, std::string_view element);
// Adds the element to the set, or removes it, through the set's text form ("a,b"): an
// element whose name already occurs in the text is not added again; removing deletes the
// first of ",name", "name," or "name" found. The result is always false.
bool ChangeSetPropValue(TObject* instance, std::string_view name, std::string_view element, bool add);
// A string property's value; empty when there is no such property.
std::string GetStrPropByName(TObject* instance, std::string_view name);
// The handler slot of an event property whose handler type is `type`; nullptr otherwise.
void* EventSlotByName(TObject* instance, std::string_view name, const std::type_info& type);
// The same, typed: the handler can be read (empty: none assigned) and set through it.
template <class Event>
Event* EventPropByName(TObject* instance, std::string_view name) {
  return static_cast<Event*>(EventSlotByName(instance, name, typeid(Event)));
}
