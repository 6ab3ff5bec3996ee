#include "skin/engine/hint_templates.h"

#include <algorithm>
#include <cstdint>

#include "skin/engine/embedded_data.h"

namespace {

std::unique_ptr<TacHintTemplate> defaultTemplate;
// A change told to a collection's owner may change templates again: that is not told twice.
bool notifying = false;

}  // namespace

void TacBordersSizes::Set(Side side, int value) {
  const int w = image_.ImageWidth(), h = image_.ImageHeight();
  switch (side) {
    case Top:
      values_[Top] = std::min(value, h - 1);
      values_[Bottom] = std::min(values_[Bottom], h - values_[Top] - 1);
      break;
    case Left:
      values_[Left] = std::min(value, w - 1);
      values_[Right] = std::min(values_[Right], w - values_[Left] - 1);
      break;
    case Bottom:
      values_[Bottom] = std::min(value, h - 1);
      values_[Top] = std::min(values_[Top], h - values_[Bottom] - 1);
      break;
    case Right:
      values_[Right] = std::min(value, w - 1);
      values_[Left] = std::min(values_[Left], w - values_[Right] - 1);
      break;
  }
  image_.Template().Changed();
}

void TacBordersSizes::Assign(const TacBordersSizes& source) {
  for (Side side : {Top, Left, Bottom, Right}) Set(side, source.values_[side]);
}

void TacBorderDrawModes::Set(Part part, TacBorderDrawMode mode) {
  modes_[part] = mode;
  image_.Template().Changed();
}

void TacBorderDrawModes::Assign(const TacBorderDrawModes& source) { modes_ = source.modes_; }

TacHintImage::TacHintImage(TacHintTemplate& owner) : owner_(owner) {}

void TacHintImage::SetImage(const TPNGGraphic& picture) {
  image_.Assign(picture);
  const int w = ImageWidth(), h = ImageHeight();
  for (TacBordersSizes* sizes : {&BordersWidths, &ClientMargins}) {
    sizes->SetUnchecked(TacBordersSizes::Left, (w - 1) / 2);
    sizes->SetUnchecked(TacBordersSizes::Right, (w - 1) / 2);
    sizes->SetUnchecked(TacBordersSizes::Top, (h - 1) / 2);
    sizes->SetUnchecked(TacBordersSizes::Bottom, (h - 1) / 2);
  }
  // A see-through pixel keeps no colour that stretching could smear into its neighbours.
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint32_t*>(image_.ScanLine(y));
    for (int x = 0; x < w; ++x)
      if ((row[x] >> 24) == 0) row[x] = 0;
  }
  owner_.Changed();
}

void TacHintImage::Assign(const TacHintImage& source) {
  image_.Assign(source.image_);
  ClientMargins.Assign(source.ClientMargins);
  BorderDrawModes.Assign(source.BorderDrawModes);
  BordersWidths.Assign(source.BordersWidths);
}

TacHintTemplate::TacHintTemplate(TacHintTemplates* collection) : collection_(collection) {}

void TacHintTemplate::Assign(const TacHintTemplate& source) {
  if (&source == this) return;
  ImageDefault.Assign(source.ImageDefault);
  Img_LeftBottom.Assign(source.Img_LeftBottom);
  Img_RightBottom.Assign(source.Img_RightBottom);
  Img_RightTop.Assign(source.Img_RightTop);
  Font.Assign(source.Font);
  Name = source.Name;
}

void TacHintTemplate::Changed() {
  if (!collection_ || notifying || collection_->Loading || !collection_->OnChange) return;
  notifying = true;
  struct Reset {
    ~Reset() { notifying = false; }
  } reset;
  collection_->OnChange();
}

TacHintTemplate& TacHintTemplates::Add() {
  items_.push_back(std::make_unique<TacHintTemplate>(this));
  return *items_.back();
}

TacHintTemplate* DefaultHintTemplate() { return defaultTemplate.get(); }

void CreateDefaultHintTemplate() {
  defaultTemplate = std::make_unique<TacHintTemplate>();
  if (auto bytes = efir::skin::FindEmbeddedData("ACHINT")) {
    TPNGGraphic png;
    png.LoadFromMemory(bytes->data(), bytes->size());
    defaultTemplate->ImageDefault.SetImage(png);
  }
  TacHintImage& image = defaultTemplate->ImageDefault;
  image.BordersWidths.SetLeft(7);
  image.BordersWidths.SetTop(7);
  image.BordersWidths.SetRight(15);
  image.BordersWidths.SetBottom(15);
  image.ClientMargins.SetLeft(11);
  image.ClientMargins.SetTop(7);
  image.ClientMargins.SetRight(15);
  image.ClientMargins.SetBottom(14);
  for (auto part : {TacBorderDrawModes::Top, TacBorderDrawModes::Left, TacBorderDrawModes::Bottom,
                    TacBorderDrawModes::Right, TacBorderDrawModes::Center})
    image.BorderDrawModes.Set(part, dmStretch);
}

void FreeDefaultHintTemplate() { defaultTemplate.reset(); }
