#include "framework/string_list.h"

#include <algorithm>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "framework/text_utils.h"

int TStringList::compare(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? efir::AnsiCompareStr(a, b) : efir::AnsiCompareText(a, b);
}

void TStringList::checkIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError(efir::Format("List index out of bounds (%d)", index));
}

void TStringList::requireUnsorted() const {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
}

const std::string& TStringList::Strings(int index) const {
  checkIndex(index, Count());
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::SetStrings(int index, std::string text) {
  requireUnsorted();
  checkIndex(index, Count());
  items_[static_cast<size_t>(index)].text = std::move(text);
}

void* TStringList::Objects(int index) const {
  checkIndex(index, Count());
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::SetObjects(int index, void* object) {
  checkIndex(index, Count());
  items_[static_cast<size_t>(index)].object = object;
}

int TStringList::AddObject(std::string text, void* object) {
  int index = Count();
  if (sorted_ && Find(text, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, Item{std::move(text), object});
  return index;
}

void TStringList::Insert(int index, std::string text) {
  requireUnsorted();
  checkIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, Item{std::move(text), nullptr});
}

void TStringList::Delete(int index) {
  checkIndex(index, Count());
  items_.erase(items_.begin() + index);
}

bool TStringList::Find(std::string_view text, int& index) const {
  // The first of equal texts, or where the text would go.
  auto at = std::lower_bound(items_.begin(), items_.end(), text,
                             [&](const Item& item, std::string_view t) { return compare(item.text, t) < 0; });
  index = static_cast<int>(at - items_.begin());
  return at != items_.end() && compare(at->text, text) == 0;
}

int TStringList::IndexOf(std::string_view text) const {
  if (sorted_) {
    int index;
    return Find(text, index) ? index : -1;
  }
  for (size_t i = 0; i < items_.size(); ++i)
    if (compare(items_[i].text, text) == 0) return static_cast<int>(i);
  return -1;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [&](const Item& a, const Item& b) { return compare(a.text, b.text) < 0; });
}

void TStringList::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  if (sorted_) Sort();
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

std::string TStringList::Text() const {
  std::string text;
  for (const Item& item : items_) text += item.text + "\r\n";
  return text;
}

void TStringList::SetText(std::string_view text) {
  Clear();
  for (size_t from = 0; from < text.size();) {
    size_t end = std::min(text.find('\n', from), text.size());
    std::string line(text.substr(from, end - from));
    std::erase(line, '\r');
    Add(std::move(line));
    from = end + 1;
  }
}

void TStringList::LoadFromFile(const std::string& path) {
  TTextFile file;
  file.Reset(path);
  Clear();
  while (!file.Eof()) Add(file.ReadLine());
  file.Close();
}

void TStringList::SaveToFile(const std::string& path) const { efir::WriteFileSafely(path, Text()); }
