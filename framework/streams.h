// Byte streams: the common interface, a stream on a file and one in memory. Failures of the
// file stream raise EInOutError naming the file; ReadBuffer and WriteBuffer raise when fewer
// bytes move than asked.
//
//   TFileStream out(path, TFileStream::fmCreate, TFileStream::fmShareExclusive);
//   out.WriteBuffer(block, size);
//   TMemoryStream data;
//   data.LoadFromFile(folder + "skin.asz");
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/file_handle.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // As many bytes as there are, up to `count`.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() = 0;
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }

  void ReadBuffer(void* buffer, size_t count);          // "Stream read error" when short
  void WriteBuffer(const void* buffer, size_t count);   // "Stream write error" when short
  // Copies `count` bytes from the source's position; 0 copies the whole source from its start.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TFileStream : public TStream {
 public:
  enum Mode { fmCreate, fmOpenRead, fmOpenWrite, fmOpenReadWrite };
  enum Share { fmShareExclusive, fmShareDenyWrite, fmShareDenyNone };

  // fmCreate makes the file or empties an existing one, for reading and writing.
  TFileStream(const std::string& path, Mode mode, Share share = fmShareDenyWrite);

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return path_; }

 private:
  std::string path_;
  efir::FileHandle file_;
};

class TMemoryStream : public TStream {
 public:
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  // The bytes themselves; valid until the size changes.
  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  void Clear();
  void LoadFromStream(TStream& source);             // replaces the content; position 0
  void LoadFromFile(const std::string& path);
  void SaveToStream(TStream& target) const;
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};
