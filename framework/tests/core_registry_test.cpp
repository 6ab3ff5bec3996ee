#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/registry.h"

namespace {

// A key of the test's own, removed before and after.
const char kKey[] = "\\Software\\EfirTest\\CoreRegistry";

void removeTestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\EfirTest"); }

TEST(RegistryTest, StringValuesRoundTripAndDelete) {
  removeTestKey();
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kKey, false));     // missing and not to be created
  EXPECT_THROW(reg.WriteString("x", "y"), Exception);
  ASSERT_TRUE(reg.OpenKey(kKey, true));

  const std::string path = "C:\\Программы\\efirplayer.exe";
  reg.WriteString("Эфирушка", path);
  EXPECT_TRUE(reg.ValueExists("Эфирушка"));
  EXPECT_EQ(reg.ReadString("Эфирушка"), path);
  reg.WriteString("empty", "");
  EXPECT_EQ(reg.ReadString("empty"), "");
  EXPECT_TRUE(reg.ValueExists("empty"));

  // A second object opening the key without creating it sees the values.
  TRegistry other;
  ASSERT_TRUE(other.OpenKey(kKey, false));
  EXPECT_EQ(other.ReadString("Эфирушка"), path);
  EXPECT_TRUE(other.DeleteValue("Эфирушка"));
  EXPECT_FALSE(other.DeleteValue("Эфирушка"));
  other.CloseKey();

  EXPECT_FALSE(reg.ValueExists("Эфирушка"));
  EXPECT_EQ(reg.ReadString("Эфирушка"), "");
  DWORD number = 5;
  HKEY raw;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\EfirTest\\CoreRegistry", 0, KEY_WRITE, &raw);
  RegSetValueExW(raw, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(raw);
  EXPECT_THROW(reg.ReadString("number"), Exception);
  reg.CloseKey();
  removeTestKey();
}

}  // namespace
