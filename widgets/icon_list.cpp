#include "widgets/icon_list.h"

#include <cstdint>
#include <string>
#include <utility>

#include "framework/streams.h"

namespace {

// Keeps the list's update open while a reader may raise.
class UpdateScope {
 public:
  explicit UpdateScope(TIconList& list) : list_(list) { list_.BeginUpdate(); }
  ~UpdateScope() { list_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TIconList& list_;
};

std::unique_ptr<TIcon> CopyOf(const TIcon& icon) {
  auto copy = std::make_unique<TIcon>();
  copy->Assign(icon);
  return copy;
}

std::unique_ptr<TIcon> IconResource(HINSTANCE instance, const wchar_t* name) {
  HICON handle = LoadIconW(instance, name);
  if (!handle) throw EPictureError("No icon resource of that name");
  auto icon = std::make_unique<TIcon>();
  // LoadIcon's handles are shared and must not be destroyed: the icon keeps a copy.
  icon->SetHandle(CopyIcon(handle));
  return icon;
}

int32_t ReadInt32(TStream& stream) {
  int32_t value = 0;
  stream.ReadBuffer(&value, sizeof(value));
  return value;
}

void WriteInt32(TStream& stream, int32_t value) { stream.WriteBuffer(&value, sizeof(value)); }

}  // namespace

TIconList::~TIconList() {
  OnChange = nullptr;
  Clear();
}

void TIconList::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TIcon* TIconList::Icons(int index) const {
  CheckIndex(index, Count());
  return icons_[static_cast<size_t>(index)].get();
}

void TIconList::PutIcon(int index, const TIcon& icon) {
  UpdateScope update(*this);
  CheckIndex(index, Count() + 1);
  if (index == Count()) AddIcon(nullptr);
  auto& entry = icons_[static_cast<size_t>(index)];
  if (!entry) {
    entry = std::make_unique<TIcon>();
    Watch(entry.get());
  }
  entry->Assign(icon);
}

int TIconList::Add(const TIcon& icon) {
  AddIcon(CopyOf(icon));
  return Count() - 1;
}

void TIconList::AddIcon(std::unique_ptr<TIcon> icon) { InsertIcon(Count(), std::move(icon)); }

void TIconList::AddResource(HINSTANCE instance, const wchar_t* name) {
  AddIcon(IconResource(instance, name));
}

void TIconList::InsertResource(int index, HINSTANCE instance, const wchar_t* name) {
  CheckIndex(index, Count() + 1);
  InsertIcon(index, IconResource(instance, name));
}

void TIconList::Insert(int index, const TIcon& icon) {
  CheckIndex(index, Count() + 1);
  InsertIcon(index, CopyOf(icon));
}

void TIconList::InsertIcon(int index, std::unique_ptr<TIcon> icon) {
  Watch(icon.get());
  icons_.insert(icons_.begin() + index, std::move(icon));
  Changed();
}

void TIconList::Delete(int index) {
  CheckIndex(index, Count());
  icons_.erase(icons_.begin() + index);
  Changed();
}

void TIconList::Clear() {
  UpdateScope update(*this);
  while (!icons_.empty()) Delete(Count() - 1);
}

void TIconList::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  std::swap(icons_[static_cast<size_t>(index1)], icons_[static_cast<size_t>(index2)]);
  Changed();
}

void TIconList::Move(int from, int to) {
  CheckIndex(from, Count());
  CheckIndex(to, Count());
  auto icon = std::move(icons_[static_cast<size_t>(from)]);
  icons_.erase(icons_.begin() + from);
  icons_.insert(icons_.begin() + to, std::move(icon));
  Changed();
}

int TIconList::IndexOf(const TIcon* icon) const {
  for (int i = 0; i < Count(); ++i)
    if (icons_[static_cast<size_t>(i)].get() == icon) return i;
  return -1;
}

void TIconList::Assign(const TIconList& source) {
  if (&source == this) return;
  UpdateScope update(*this);
  Clear();
  const TIcon empty;
  for (const auto& icon : source.icons_) Add(icon ? *icon : empty);
}

void TIconList::Assign(const TIcon& icon) {
  UpdateScope update(*this);
  Clear();
  Add(icon);
}

// Every count and size is checked against the bytes that remain before anything is
// allocated, so damaged or hostile data cannot ask for more memory than it brings.
void TIconList::ReadIconsData(TStream& stream) {
  UpdateScope update(*this);
  Clear();
  const int64_t size = stream.Size();
  auto remaining = [&] { return size - stream.Position(); };
  if (remaining() < 4) throw EReadError("Icons data is damaged: no entry count");
  const int32_t count = ReadInt32(stream);
  if (count < 0 || static_cast<int64_t>(count) * 4 > remaining())
    throw EReadError("Icons data is damaged: " + std::to_string(count) + " entries in " +
                     std::to_string(remaining()) + " bytes");
  for (int32_t i = 0; i < count; ++i) {
    if (remaining() < 4)
      throw EReadError("Icons data is damaged: entry " + std::to_string(i) + " is missing");
    const int32_t bytes = ReadInt32(stream);
    if (bytes <= 0) {
      AddIcon(nullptr);
      continue;
    }
    if (bytes > remaining())
      throw EReadError("Icons data is damaged: entry " + std::to_string(i) + " claims " +
                       std::to_string(bytes) + " bytes, " + std::to_string(remaining()) +
                       " remain");
    std::string data(static_cast<size_t>(bytes), '\0');
    stream.ReadBuffer(data.data(), data.size());
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromMemory(data.data(), data.size());
    AddIcon(std::move(icon));
  }
}

void TIconList::WriteIconsData(TStream& stream) const {
  WriteInt32(stream, Count());
  for (const auto& icon : icons_) {
    const std::string data = icon ? icon->SaveToMemory() : std::string();
    WriteInt32(stream, static_cast<int32_t>(data.size()));
    stream.WriteBuffer(data.data(), data.size());
  }
}

void TIconList::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) Changed();
}

void TIconList::Watch(TIcon* icon) {
  if (icon) icon->OnChange = [this] { Changed(); };
}

void TIconList::Changed() {
  if (updates_ == 0 && OnChange) OnChange();
}
