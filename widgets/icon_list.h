// An ordered list of icons, owned by the list, as the tray icon's animation frames. An entry
// may be empty (nullptr). Every change (and a change of any icon in the list) raises
// OnChange, once per outermost BeginUpdate / EndUpdate.
//
//   TIconList frames;
//   frames.OnChange = [&] { tray->Refresh(); };
//   frames.Add(icon);                         // a copy
//   frames.AddResource(instance, L"FRAME2");  // the module's icon resource
//   frames.WriteIconsData(stream);            // the stored form, read back by ReadIconsData
//
// Stored form ("Icons" in a window layout): a 32-bit little-endian count N, then N entries,
// each a 32-bit little-endian size S and S bytes of an icon file; S <= 0 is an empty entry.
// Damaged data (a count or a size that the remaining bytes cannot hold, bytes that are no
// icon) raises EReadError or EPictureError naming the entry; the entries read before it stay.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/exceptions.h"
#include "framework/picture_icon.h"

class TStream;

class EReadError : public Exception {
  using Exception::Exception;
};

class TIconList {
 public:
  TIconList() = default;
  ~TIconList();
  TIconList(const TIconList&) = delete;
  TIconList& operator=(const TIconList&) = delete;

  int Count() const { return static_cast<int>(icons_.size()); }
  // The entry, or nullptr for an empty one; EListError outside the list.
  TIcon* Icons(int index) const;
  // Copies `icon` into the entry (Count appends one), creating the icon of an empty entry.
  void PutIcon(int index, const TIcon& icon);
  // Appends a copy of `icon`; returns its index.
  int Add(const TIcon& icon);
  // Appends `icon` itself (nullptr: an empty entry), owned from now on.
  void AddIcon(std::unique_ptr<TIcon> icon);
  // The module's icon resource of that name, appended or inserted at `index`; EPictureError
  // when the module has none.
  void AddResource(HINSTANCE instance, const wchar_t* name);
  void InsertResource(int index, HINSTANCE instance, const wchar_t* name);
  void Insert(int index, const TIcon& icon);
  void Delete(int index);
  void Clear();
  void Exchange(int index1, int index2);
  void Move(int from, int to);
  // The index of that very icon object, -1 when it is not in the list.
  int IndexOf(const TIcon* icon) const;
  // A copy of every entry of `source` (an empty entry becomes an empty icon).
  void Assign(const TIconList& source);
  // Only `icon`.
  void Assign(const TIcon& icon);

  void ReadIconsData(TStream& stream);
  void WriteIconsData(TStream& stream) const;

  // Changes between these raise OnChange once, at the outermost EndUpdate.
  void BeginUpdate() { ++updates_; }
  void EndUpdate();

  std::function<void()> OnChange;

 private:
  void InsertIcon(int index, std::unique_ptr<TIcon> icon);
  void CheckIndex(int index, int count) const;
  void Watch(TIcon* icon);
  void Changed();

  std::vector<std::unique_ptr<TIcon>> icons_;
  int updates_ = 0;
};
