#include <gtest/gtest.h>

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

}  // namespace
