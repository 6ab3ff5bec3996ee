// The icon list: its operations keep the entries in order and report each change once, its
// stored form reads back what was written (pixels included), and damaged stored data is
// refused with an error that says what is wrong, keeping the entries read before it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/streams.h"
#include "widgets/icon_list.h"

namespace {

std::unique_ptr<TIcon> SystemIcon(LPCWSTR id) {
  auto icon = std::make_unique<TIcon>();
  icon->SetHandle(CopyIcon(LoadIconW(nullptr, id)));
  return icon;
}

// What an icon shows, as 32-bit pixels with alpha.
std::vector<uint32_t> Pixels(const TIcon& icon) {
  TBitmap picture;
  icon.AssignTo(picture);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < picture.Height(); ++y) {
    const auto* row = static_cast<const uint32_t*>(picture.ScanLine(y));
    pixels.insert(pixels.end(), row, row + picture.Width());
  }
  return pixels;
}

// Pixels whose alpha or colour differ by more than rounding (blending at part alpha loses a
// little of the colour).
int Differences(const TIcon& a, const TIcon& b) {
  const std::vector<uint32_t> pa = Pixels(a), pb = Pixels(b);
  if (pa.size() != pb.size()) return -1;
  int differ = 0;
  for (size_t i = 0; i < pa.size(); ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      const int ca = (pa[i] >> shift) & 0xFF, cb = (pb[i] >> shift) & 0xFF;
      if (std::abs(ca - cb) > (shift == 24 ? 0 : 3)) {
        ++differ;
        break;
      }
    }
  }
  return differ;
}

TMemoryStream Stored(const std::vector<int32_t>& words, const std::string& tail = {}) {
  TMemoryStream stream;
  for (int32_t w : words) stream.WriteBuffer(&w, sizeof(w));
  stream.WriteBuffer(tail.data(), tail.size());
  stream.SetPosition(0);
  return stream;
}

}  // namespace

TEST(IconList, OperationsKeepTheOrderAndReportEachChangeOnce) {
  TIconList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  const auto appIcon = SystemIcon(IDI_APPLICATION), warningIcon = SystemIcon(IDI_WARNING),
             errorIcon = SystemIcon(IDI_ERROR);
  const TIcon &app = *appIcon, &warning = *warningIcon, &error = *errorIcon;
  list.Add(app);
  list.Add(warning);
  list.Insert(0, error);  // error app warning
  EXPECT_EQ(changes, 3);
  TIcon* errorCopy = list.Icons(0);
  EXPECT_EQ(list.IndexOf(errorCopy), 0);
  EXPECT_EQ(list.IndexOf(&error), -1);  // a copy went in, not the icon itself
  list.Exchange(0, 2);                  // warning app error
  EXPECT_EQ(list.IndexOf(errorCopy), 2);
  list.Move(2, 1);                      // warning error app
  EXPECT_EQ(list.IndexOf(errorCopy), 1);
  EXPECT_EQ(changes, 5);
  list.AddIcon(nullptr);
  list.PutIcon(3, app);  // an empty entry gets an icon of its own
  ASSERT_NE(list.Icons(3), nullptr);
  EXPECT_EQ(Pixels(*list.Icons(3)), Pixels(app));
  changes = 0;
  list.PutIcon(4, error);  // Count appends
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(list.PutIcon(6, error), EListError);
  EXPECT_THROW(list.Move(0, 5), EListError);

  TIconList copy;
  copy.Assign(list);
  ASSERT_EQ(copy.Count(), 5);
  EXPECT_EQ(Pixels(*copy.Icons(1)), Pixels(error));
  copy.Assign(app);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_THROW(list.AddResource(GetModuleHandleW(nullptr), L"NO_SUCH_ICON"), EPictureError);
}

TEST(IconList, TheStoredFormReadsBackEveryEntry) {
  TIconList list;
  list.Add(*SystemIcon(IDI_APPLICATION));
  list.AddIcon(nullptr);
  list.Add(*SystemIcon(IDI_WARNING));
  TMemoryStream stream;
  list.WriteIconsData(stream);
  // The count, then each entry's size: the empty one is 0.
  int32_t header[4];
  stream.SetPosition(0);
  stream.ReadBuffer(header, sizeof(int32_t) * 2);
  EXPECT_EQ(header[0], 3);
  EXPECT_GT(header[1], 0);

  TIconList read;
  read.Add(*SystemIcon(IDI_ERROR));  // replaced by what is read
  int changes = 0;
  read.OnChange = [&] { ++changes; };
  stream.SetPosition(0);
  read.ReadIconsData(stream);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(read.Count(), 3);
  EXPECT_EQ(read.Icons(1), nullptr);
  for (int i : {0, 2}) {
    ASSERT_NE(read.Icons(i), nullptr);
    EXPECT_EQ(read.Icons(i)->Width(), list.Icons(i)->Width());
    EXPECT_EQ(Differences(*read.Icons(i), *list.Icons(i)), 0) << i;
  }
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(IconList, DamagedStoredDataIsRefusedWithAClearError) {
  TMemoryStream good;
  {
    TIconList one;
    one.Add(*SystemIcon(IDI_APPLICATION));
    one.WriteIconsData(good);
  }
  const std::string icon(reinterpret_cast<const char*>(good.Memory()) + 8,
                         static_cast<size_t>(good.Size()) - 8);
  struct Case {
    const char* name;
    std::vector<int32_t> words;
    std::string tail;
    const char* message;  // start of the error's text; nullptr: reads without error
    int kept;
  } cases[] = {
      {"empty", {}, "", "Icons data is damaged: no entry count", 0},
      {"huge count", {0x7FFFFFFF}, "", "Icons data is damaged: 2147483647 entries in 0 bytes", 0},
      {"negative count", {-1}, "", "Icons data is damaged: -1 entries", 0},
      {"entry missing", {2, static_cast<int32_t>(icon.size())}, icon,
       "Icons data is damaged: entry 1 is missing", 1},
      {"huge size", {1, 0x7FFFFFFF}, "abc", "Icons data is damaged: entry 0 claims 2147483647", 0},
      {"negative size", {1, -5}, "", nullptr, 1},
      {"not an icon", {2, 0, 4}, "abcd", "Not an icon file", 1},
      {"truncated icon", {2, 0, 30}, icon.substr(0, 30), "Icon data is truncated", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TIconList list;
    TMemoryStream stream = Stored(c.words, c.tail);
    if (!c.message) {
      list.ReadIconsData(stream);
    } else {
      try {
        list.ReadIconsData(stream);
        ADD_FAILURE() << "no error";
      } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      }
    }
    EXPECT_EQ(list.Count(), c.kept);
  }
}
