#include "framework/picture.h"

#include "framework/exceptions.h"
#include "framework/picture_gif.h"
#include "framework/picture_icon.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"

#include <map>

namespace {

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

template <class Kind>
TPicture::GraphicFactory make() {
  return [] { return std::make_unique<Kind>(); };
}

struct FileFormat {
  TPicture::GraphicFactory Factory;
  std::string Description;
};

std::map<std::string, FileFormat>& formats() {
  static std::map<std::string, FileFormat> table = {
      {".bmp", {make<TBitmap>()}},     {".png", {make<TPngImage>()}}, {".jpg", {make<TJPEGImage>()}},
      {".jpeg", {make<TJPEGImage>()}}, {".gif", {make<TGIFImage>()}}, {".ico", {make<TIcon>()}}};
  return table;
}

// ".png" for "C:\Logos\a.PNG"; empty when the name has no extension.
std::string extensionOf(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of("\\/:");
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
  return lowerAscii(fileName.substr(dot));
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& extension, GraphicFactory factory,
                                  const std::string& description) {
  formats()[lowerAscii(extension)] = {std::move(factory), description};
}

std::string TPicture::FileFormatDescription(const std::string& extension) {
  auto found = formats().find(lowerAscii(extension));
  return found == formats().end() ? std::string() : found->second.Description;
}

void TPicture::Hold(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this] {
    if (OnChange) OnChange();
  };
  if (OnChange) OnChange();
}

TBitmap& TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Hold(std::make_unique<TBitmap>());
  return static_cast<TBitmap&>(*graphic_);
}

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string extension = extensionOf(fileName);
  const auto found = formats().find(extension);
  if (found == formats().end())
    throw EPictureError("Unknown picture file extension (" + (extension.empty() ? fileName : extension) + ")");
  std::unique_ptr<TGraphic> graphic = found->second.Factory();
  graphic->LoadFromFile(fileName);
  Hold(std::move(graphic));
}

void TPicture::Assign(const TGraphic* source) {
  if (source == graphic_.get() && source) return;
  Hold(source ? source->Clone() : nullptr);
}
