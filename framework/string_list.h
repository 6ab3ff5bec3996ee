// An ordered list of Windows-1251 texts, each with an optional pointer the caller owns.
// Sorted lists keep the locale's order, blind to case unless CaseSensitive is set, and
// handle duplicates by Duplicates (ignored by default). Files are read and written with
// the text-file rules (see text_file.h); saving replaces the file safely.
//
//   TStringList names;
//   names.SetSorted(true);
//   names.Add("Радио");  names.Add("радио");           // the second is ignored
//   int i = names.IndexOf("РАДИО");                     // 0
//   names.SaveToFile(folder + "names.txt");
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Index errors raise EListError "List index out of bounds (%d)".
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  void SetStrings(int index, std::string text);   // not on a sorted list
  void* Objects(int index) const;
  void SetObjects(int index, void* object);

  // The new text's index; on a sorted list its place in the order (with dupIgnore, the
  // index of the text already there).
  int Add(std::string text) { return AddObject(std::move(text), nullptr); }
  int AddObject(std::string text, void* object);
  void Insert(int index, std::string text);       // not on a sorted list
  void Delete(int index);
  void Clear() { items_.clear(); }

  int IndexOf(std::string_view text) const;       // -1 when absent
  // On a sorted list: true when found, `index` the text's place or where it would go.
  bool Find(std::string_view text, int& index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }

  // Every line followed by CR LF; setting splits at LF or CR LF and drops other CRs.
  std::string Text() const;
  void SetText(std::string_view text);

  void LoadFromFile(const std::string& path);     // raises EInOutError
  void SaveToFile(const std::string& path) const; // raises EInOutError; the old file survives

 private:
  struct Item {
    std::string text;
    void* object = nullptr;
  };

  int compare(std::string_view a, std::string_view b) const;
  void checkIndex(int index, int limit) const;
  void requireUnsorted() const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
