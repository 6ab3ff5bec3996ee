#include "framework/streams.h"

#include <algorithm>
#include <cstring>

#include "framework/exceptions.h"

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EInOutError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EInOutError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, 64 * 1024)));
  for (int64_t left = count; left > 0;) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    source.ReadBuffer(buffer.data(), chunk);
    WriteBuffer(buffer.data(), chunk);
    left -= static_cast<int64_t>(chunk);
  }
  return count;
}

TFileStream::TFileStream(const std::string& path, Mode mode, Share share) : path_(path) {
  static const DWORD kAccess[] = {GENERIC_READ | GENERIC_WRITE, GENERIC_READ, GENERIC_WRITE,
                                  GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {0, FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
  file_ = efir::FileHandle::Open(path, kAccess[mode], kShare[share], mode == fmCreate ? CREATE_ALWAYS : OPEN_EXISTING);
}

size_t TFileStream::Read(void* buffer, size_t count) { return file_.Read(buffer, count, path_); }

size_t TFileStream::Write(const void* buffer, size_t count) {
  file_.Write(buffer, count, path_);
  return count;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  return file_.Seek(offset, kMethod[origin], path_);
}

int64_t TFileStream::Size() { return file_.Size(path_); }

void TFileStream::SetSize(int64_t size) {
  int64_t position = Position();
  file_.Seek(size, FILE_BEGIN, path_);
  file_.Truncate(path_);
  file_.Seek(std::min(position, size), FILE_BEGIN, path_);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= Size()) return 0;
  size_t n = std::min(count, static_cast<size_t>(Size() - position_));
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += static_cast<int64_t>(n);
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  size_t end = static_cast<size_t>(position_) + count;
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = static_cast<int64_t>(end);
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  if (base + offset < 0) throw EInOutError("Stream seek before the start");
  position_ = base + offset;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  std::vector<uint8_t> data(static_cast<size_t>(source.Size()));
  source.ReadBuffer(data.data(), data.size());
  data_.swap(data);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  TFileStream file(path, TFileStream::fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) const { target.WriteBuffer(data_.data(), data_.size()); }

void TMemoryStream::SaveToFile(const std::string& path) const {
  TFileStream file(path, TFileStream::fmCreate);
  SaveToStream(file);
}
