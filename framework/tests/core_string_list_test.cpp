#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/string_list.h"
#include "framework/tests/core_test_files.h"

namespace {

std::vector<std::string> itemsOf(const TStringList& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

std::string listErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EListError& e) {
    return e.Message();
  }
  return "(no error)";
}

TEST(StringListTest, KeepsOrderAndChecksIndexes) {
  TStringList list;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.Add("a"), 1);
  list.Insert(0, "c");
  list.Insert(3, "d");
  EXPECT_EQ(itemsOf(list), (std::vector<std::string>{"c", "b", "a", "d"}));
  list.Delete(1);
  list.SetStrings(0, "C");
  EXPECT_EQ(itemsOf(list), (std::vector<std::string>{"C", "a", "d"}));
  EXPECT_EQ(list.IndexOf("A"), 1);   // blind to case by default
  EXPECT_EQ(list.IndexOf("x"), -1);

  EXPECT_EQ(listErrorOf([&] { list.Strings(3); }), "List index out of bounds (3)");
  EXPECT_EQ(listErrorOf([&] { list.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(listErrorOf([&] { list.Insert(5, "x"); }), "List index out of bounds (5)");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(listErrorOf([&] { list.Strings(0); }), "List index out of bounds (0)");
}

TEST(StringListTest, SortedListsIgnoreCaseAndDuplicatesOverCyrillic) {
  TStringList list;
  list.SetSorted(true);
  list.Add("Юла");
  list.Add("абв");
  list.Add("Бег");
  EXPECT_EQ(list.Add("АБВ"), 0);   // already there: ignored, its index answered
  list.Add("zebra");
  list.Add("Apple");
  EXPECT_EQ(itemsOf(list), (std::vector<std::string>{"Apple", "zebra", "абв", "Бег", "Юла"}));
  EXPECT_EQ(list.IndexOf("юЛА"), 4);
  EXPECT_EQ(listErrorOf([&] { list.Insert(0, "x"); }), "Operation not allowed on sorted list");

  list.SetDuplicates(dupError);
  EXPECT_EQ(listErrorOf([&] { list.Add("ZEBRA"); }), "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  list.Add("ZEBRA");
  EXPECT_EQ(list.Count(), 6);

  TStringList exact;
  exact.SetCaseSensitive(true);
  exact.SetSorted(true);
  exact.Add("абв");
  exact.Add("АБВ");
  EXPECT_EQ(exact.Count(), 2);
  EXPECT_EQ(exact.IndexOf("Абв"), -1);
}

TEST(StringListTest, ObjectsTravelWithTheirTexts) {
  int one = 1, two = 2;
  TStringList list;
  list.SetSorted(true);
  list.AddObject("b", &two);
  list.AddObject("a", &one);
  EXPECT_EQ(list.Objects(0), &one);
  EXPECT_EQ(list.Objects(1), &two);
  list.SetObjects(0, nullptr);
  EXPECT_EQ(list.Objects(0), nullptr);
}

TEST(StringListTest, TextAndFilesFollowTheLineRules) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n");
  EXPECT_EQ(itemsOf(list), (std::vector<std::string>{"a", "b", "cd"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\ncd\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);

  efir::test::ScratchFolder dir("core_string_list");
  efir::test::writeBytes(dir / "in.txt", "1\n2\r\n\r\n3\x1A" "4");
  list.LoadFromFile(dir / "in.txt");
  EXPECT_EQ(itemsOf(list), (std::vector<std::string>{"1", "2", "", "3"}));
  list.SaveToFile(dir / "out.txt");
  EXPECT_EQ(efir::test::readBytes(dir / "out.txt"), "1\r\n2\r\n\r\n3\r\n");
  EXPECT_THROW(list.LoadFromFile(dir / "missing.txt"), EInOutError);
  EXPECT_EQ(list.Count(), 4);  // a failed load keeps the list
}

}  // namespace
