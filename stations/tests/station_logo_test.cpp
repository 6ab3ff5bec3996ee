#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"
#include "stations/station_logo.h"
#include "tests/support/paths.h"

namespace {

std::string DemoLogo(const std::string& name) {
  return efir::test::sourceDir() + "/assets/program/Stations/" + name;
}

TEST(StationLogo, EachKnownExtensionGivesItsPictureAndOthersNone) {
  auto png = NewStationLogo(DemoLogo("1.png"), ".png");
  EXPECT_NE(dynamic_cast<TPngImage*>(png.get()), nullptr);
  auto jpeg = NewStationLogo(DemoLogo("2.jpg"), ".jpg");
  EXPECT_NE(dynamic_cast<TJPEGImage*>(jpeg.get()), nullptr);
  // A GIF is held as its first frame in a JPEG picture.
  auto gif = NewStationLogo(DemoLogo("3.gif"), ".gif");
  ASSERT_NE(dynamic_cast<TJPEGImage*>(gif.get()), nullptr);
  EXPECT_EQ(gif->Width(), 90);
  EXPECT_EQ(gif->Height(), 90);
  // The store reads only the three lower-case spellings.
  EXPECT_EQ(NewStationLogo(DemoLogo("2.jpg"), ".JPG"), nullptr);
  EXPECT_EQ(NewStationLogo(DemoLogo("2.jpg"), ".jpeg"), nullptr);
  EXPECT_THROW(NewStationLogo(DemoLogo("play1.txt"), ".png"), EPictureError);
}

TEST(StationLogo, AnUnreadableLogoCostsOnlyItsPictureAndIsReportedOnceARun) {
  // A program folder with the empty logo and three logos, two of them cut short.
  const std::filesystem::path folder = std::filesystem::absolute("LogoFolder");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Stations");
  std::filesystem::copy_file(efir::test::sourceDir() + "/assets/program/nil.jpg",
                             folder / "nil.jpg");
  const std::pair<const char*, const char*> logos[] = {
      {"2.jpg", "2.jpg"}, {"4.jpg", "5.jpg"}, {"5.png", "1.png"}};
  for (const auto& [name, demo] : logos)
    std::filesystem::copy_file(DemoLogo(demo), folder / "Stations" / name);
  for (const char* name : {"4.jpg", "5.png"})
    std::filesystem::resize_file(folder / "Stations" / name, 200);
  const std::string programFolder = folder.string() + "\\";
  std::vector<std::string> shown;
  Application.ExceptionHook = [&](const std::string& message) { shown.push_back(message); };
  auto message = [&](const char* name) {
    return "Не удалось прочитать логотип радиостанции \"" + programFolder + "Stations\\" + name +
           "\": вместо него показан пустой логотип.";
  };

  ResetLogoReport();
  EXPECT_NE(dynamic_cast<TJPEGImage*>(ReadStationLogo(programFolder, 2, ".jpg").get()), nullptr);
  EXPECT_TRUE(shown.empty());
  // The empty logo stands in: a JPEG picture where the damaged one was a PNG too.
  auto empty = ReadStationLogo(programFolder, 4, ".jpg");
  EXPECT_NE(dynamic_cast<TJPEGImage*>(empty.get()), nullptr);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(ReadStationLogo(programFolder, 5, ".png").get()), nullptr);
  EXPECT_EQ(shown, std::vector<std::string>{message("4.jpg")});
  // An extension the store does not read is no failure.
  EXPECT_EQ(ReadStationLogo(programFolder, 2, ".JPG"), nullptr);

  // The next run tells again; without the empty logo nothing stands in.
  ResetLogoReport();
  std::filesystem::remove(folder / "nil.jpg");
  EXPECT_EQ(ReadStationLogo(programFolder, 5, ".png"), nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{message("4.jpg"), message("5.png")}));
  Application.ExceptionHook = nullptr;
  std::filesystem::remove_all(folder);
}

}  // namespace
