// The texts the download component's events carry: status codes, data flags, durations, sizes.
#include "download/download_texts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/convert.h"

namespace {

using testing::StartsWith;

TEST(DownloadTexts, StatusTextsFromEveryGroup) {
  struct Row {
    int32_t code;
    const char* text;
  };
  const Row rows[] = {
      {0, "The operation was successful"},
      {5, "Downloading data..."},
      {37, "A a cookie has been initialized. "},
      {56, "Download progress values are above the maximum 32-bit file size limit."},
      {200, "OK"},
      {302, "Moved Temporarily"},
      {404, "Not Found"},
      {505, "HTTP Version Not Supported"},
      {12037,
       "SSL certificate date that was received from the server is bad. The certificate is "
       "expired."},
      {12170, "SSL certificate was revoked."},
      {0x401E8, "Asynchronous mode."},
      {static_cast<int32_t>(0x80004004), "Operation Aborted."},
      {static_cast<int32_t>(0x800C000B), "The Internet connection has timed out."},
      {static_cast<int32_t>(0x800C0018), "Binding is terminated."},
  };
  for (const Row& row : rows) EXPECT_EQ(DownloadStatusText(row.code), row.text) << row.code;
}

TEST(DownloadTexts, UnknownCodesNameTheCodeAndTheSystemText) {
  // The system's own text differs between systems: only the start is ours.
  EXPECT_THAT(DownloadStatusText(999), StartsWith("Unknown Response: 999 "));
  EXPECT_GT(DownloadStatusText(999).size(), std::string("Unknown Response: 999 ").size());
  EXPECT_THAT(DownloadStatusText(57), StartsWith("Unknown Response: 57 "));
  EXPECT_THAT(DownloadStatusText(-1), StartsWith("Unknown Response: -1 "));
}

TEST(DownloadTexts, DataFlagsSingleFlagsHaveTextsOtherValuesReadAsStatus) {
  EXPECT_EQ(DataFlagsText(1), "Identifed the first call to OnDataAvailable.");
  EXPECT_EQ(DataFlagsText(2), "Identifed the intermediate call to OnDataAvailable.");
  EXPECT_EQ(DataFlagsText(4), "Identifed the last call to OnDataAvailable.");
  EXPECT_EQ(DataFlagsText(8), "All of the requested data is available.");
  EXPECT_EQ(DataFlagsText(16), "Size of the data available is unknown.");
  EXPECT_EQ(DataFlagsText(5), "Downloading data...");
  EXPECT_EQ(DataFlagsText(0), "The operation was successful");
}

TEST(DownloadTexts, DurationsTakeHoursModuloSixty) {
  EXPECT_EQ(DurationText(0), "00:00:00");
  EXPECT_EQ(DurationText(3661), "01:01:01");
  EXPECT_EQ(DurationText(59 * 3600 + 59 * 60 + 59), "59:59:59");
  EXPECT_EQ(DurationText(216060), "00:01:00");
}

TEST(DownloadTexts, SizesInBytesKilobytesAndMegabytes) {
  efir::TFormatSettings saved = efir::FormatSettings();
  efir::FormatSettings().DecimalSeparator = '.';
  efir::FormatSettings().ThousandSeparator = ',';
  EXPECT_EQ(SizeText(0), "");
  EXPECT_EQ(SizeText(-5), "");
  EXPECT_EQ(SizeText(1), "1.00 b");
  EXPECT_EQ(SizeText(1023), "1,023.00 b");
  EXPECT_EQ(SizeText(1024), "1.00 Kb");
  EXPECT_EQ(SizeText(1536), "1.50 Kb");
  EXPECT_EQ(SizeText(1048575), "1,024.00 Kb");
  EXPECT_EQ(SizeText(1048576), "1.00 Mb");
  EXPECT_EQ(SizeText(5000.0 * 1048576), "5,000.00 Mb");
  efir::FormatSettings() = saved;
}

}  // namespace
