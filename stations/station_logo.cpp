#include "stations/station_logo.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/picture_gif.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"
#include "stations/station_store.h"

namespace {

// The empty logo the editor also gives a new slot.
constexpr char kEmptyLogo[] = "nil.jpg";

bool logoReported = false;

template <class TKind>
std::unique_ptr<TKind> Load(const std::string& path) {
  auto picture = std::make_unique<TKind>();
  picture->LoadFromFile(path);
  return picture;
}

std::unique_ptr<TGraphic> EmptyLogo(const std::string& programFolder) {
  try {
    return NewStationLogo(programFolder + kEmptyLogo, ".jpg");
  } catch (const EPictureError&) {
  }
  return nullptr;
}

// One message a run: a folder of many damaged logos must not bury the user in boxes.
void ReportUnreadableLogo(const std::string& path) {
  if (logoReported) return;
  logoReported = true;
  Application.ShowException("Не удалось прочитать логотип радиостанции \"" + path +
                            "\": вместо него показан пустой логотип.");
}

}  // namespace

std::unique_ptr<TGraphic> NewStationLogo(const std::string& path, const std::string& extension) {
  if (extension == ".jpg") return Load<TJPEGImage>(path);
  if (extension == ".png") return Load<TPngImage>(path);
  if (extension == ".gif") {
    // The grids draw a still picture: the first frame, as a JPEG picture.
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(Load<TGIFImage>(path)->Bitmap());
    return jpeg;
  }
  return nullptr;
}

std::unique_ptr<TGraphic> ReadStationLogo(const std::string& programFolder, int station,
                                          const std::string& extension) {
  const std::string path = StationLogoPath(programFolder, station, extension);
  try {
    return NewStationLogo(path, extension);
  } catch (const EPictureError&) {
  }
  ReportUnreadableLogo(path);
  return EmptyLogo(programFolder);
}

void ResetLogoReport() { logoReported = false; }
