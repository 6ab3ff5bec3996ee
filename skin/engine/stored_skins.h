// Skins carried inside a window layout, so that a program needs no skin files: each item
// holds a packed skin (the same container as an "asz" file) as its "Data".
//
//   TsStoredSkin& skin = sSkinManager1->InternalSkins().Add();
//   skin.Name = "Night";
//   skin.Data.LoadFromFile(path);         // or the layout's bytes
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/streams.h"

class TsStoredSkin {
 public:
  std::string Name;
  TMemoryStream Data;
};

class TsStoredSkins {
 public:
  TsStoredSkin& Add() { return *items_.emplace_back(std::make_unique<TsStoredSkin>()); }
  int Count() const { return static_cast<int>(items_.size()); }
  TsStoredSkin& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const TsStoredSkin& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  // The first item whose name equals `name` exactly; -1 when none.
  int IndexOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i]->Name == name) return static_cast<int>(i);
    return -1;
  }

 private:
  std::vector<std::unique_ptr<TsStoredSkin>> items_;
};
