#include "skin/engine/skin_pack.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include <zlib.h>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text_utils.h"

namespace {

constexpr char kMagic[4] = {'A', 'S', 'z', 'f'};
// Deflate's best case is 1032 output bytes per input byte; zlib's header and checksum only
// lower it.
constexpr uint64_t kMaxInflateRatio = 1032;
static_assert(MaxPackedSkinSize == 256 * 1024 * 1024, "the message below names the limit");

// Reads the container straight from its bytes, so that every read is checked against the
// end and each zlib stream ends exactly where the next entry begins.
class PackedReader {
 public:
  PackedReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  int32_t Int() {
    uint8_t bytes[4];
    Bytes(bytes, 4);
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
  }

  void Bytes(void* into, size_t count) {
    if (count > Remaining()) throw EInOutError("Stream read error");
    std::memcpy(into, data_ + pos_, count);
    pos_ += count;
  }

  // A stated length is checked against what is left before anything is allocated for it.
  std::string Text(int32_t length) {
    if (length < 0) throw Exception("Packed skin has a negative name length");
    if (static_cast<size_t>(length) > Remaining()) throw EInOutError("Stream read error");
    std::string text(static_cast<size_t>(length), '\0');
    Bytes(text.data(), text.size());
    return text;
  }

  size_t Remaining() const { return size_ - pos_; }

  size_t Position() const { return pos_; }
  void Seek(size_t pos) { pos_ = std::min(pos, size_); }

  // Inflates the zlib stream at the current position, which must unpack to exactly `size`
  // bytes, and moves past it. The bytes go to `into`, which has room for `size`; without it
  // they are only counted, in a small buffer, so a stream can be checked before memory is
  // taken for it.
  void Inflate(int64_t size, uint8_t* into) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw Exception("Decompression error");
    z.next_in = const_cast<Bytef*>(data_ + pos_);
    z.avail_in = static_cast<uInt>(std::min<size_t>(size_ - pos_, std::numeric_limits<uInt>::max()));
    std::vector<uint8_t> scratch(into ? 0 : 64 * 1024);
    // zlib refuses a null output even when no room is left, as for an empty entry.
    Bytef none = 0;
    int64_t produced = 0;
    int rc = Z_OK;
    while (rc == Z_OK) {
      const int64_t room = into ? size - produced : std::min<int64_t>(size - produced, static_cast<int64_t>(scratch.size()));
      z.next_out = room == 0 ? &none : into ? into + produced : scratch.data();
      z.avail_out = static_cast<uInt>(room);
      rc = inflate(&z, Z_NO_FLUSH);
      produced += room - static_cast<int64_t>(z.avail_out);
    }
    std::string message = z.msg ? z.msg : "";
    size_t consumed = static_cast<size_t>(z.next_in - (data_ + pos_));
    inflateEnd(&z);
    const bool filled = produced == size;
    if (rc == Z_STREAM_END) {
      if (!filled) throw EInOutError("Stream read error");
      pos_ += consumed;
      return;
    }
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT) throw Exception(message.empty() ? "data error" : message);
    // The output is full but the stream goes on, or the input ran out first.
    if (filled) throw Exception("Packed entry is larger than its size");
    throw EInOutError("Stream read error");
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

bool IsOptionsName(const std::string& name) { return efir::AnsiUpperCase(name) == "OPTIONS.DAT"; }

}  // namespace

void TacSkinConvertor::ReadPackedSkin() {
  ImageItems.clear();
  OptionsData.reset();
  ImageCount = 0;
  UnpackedBytesTaken = 0;
  try {
    if (!PackedData) throw EInOutError("Stream read error");
    PackedReader in(PackedData->Memory(), static_cast<size_t>(PackedData->Size()));
    // The whole container is checked first, so that a damaged or oversized one is refused
    // before any memory is taken for its entries.
    struct Entry {
      std::string Name;
      int32_t Size;
      size_t Stream;  // where its zlib stream starts
    };
    std::vector<Entry> entries;
    char magic[4] = {};
    if (PackedData->Size() < 4) throw Exception("Loaded data is not a packed skin file");
    in.Bytes(magic, 4);
    if (std::memcmp(magic, kMagic, 4) != 0) throw Exception("Loaded data is not a packed skin file");
    int32_t count = in.Int();
    if (count < 0) throw Exception("Packed skin has a negative entry count");
    int64_t unpacked = 0;
    for (int32_t i = 0; i < count; ++i) {
      std::string name = in.Text(in.Int());
      int32_t size = in.Int();
      if (size < 0 || size > MaxPackedEntrySize) throw Exception("Packed entry size out of range: " + name);
      // No zlib stream unpacks to more than about a thousand times its own length, so a size
      // the rest of the data cannot hold is refused at once.
      if (static_cast<uint64_t>(size) > static_cast<uint64_t>(in.Remaining()) * kMaxInflateRatio)
        throw EInOutError("Stream read error");
      unpacked += size;
      if (unpacked > MaxPackedSkinSize)
        throw Exception("Packed skin unpacks to more than 256 MiB");
      entries.push_back({std::move(name), size, in.Position()});
      in.Inflate(size, nullptr);
    }
    ImageCount = count - 1;
    for (Entry& entry : entries) {
      in.Seek(entry.Stream);
      auto data = std::make_unique<TMemoryStream>();
      data->SetSize(entry.Size);
      UnpackedBytesTaken += entry.Size;
      in.Inflate(entry.Size, data->Memory());
      if (IsOptionsName(entry.Name)) {
        OptionsData = std::move(data);
      } else {
        bool isBitmap = efir::AnsiUpperCase(efir::ExtractFileExt(entry.Name)) == ".BMP";
        ImageItems.push_back({std::move(entry.Name), isBitmap, std::move(data)});
      }
    }
  } catch (...) {
    ImageItems.clear();
    OptionsData.reset();
    ImageCount = 0;
    throw;
  }
}

void TacSkinConvertor::ClearPackedSkin() {
  while (!ImageItems.empty()) ImageItems.pop_back();
  OptionsData.reset();
  PackedData = nullptr;
  ownedData_.reset();
  ImageCount = 0;
}

void OpenPackedSkinFile(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freeSource) {
  if (!efir::FileExists(fileName)) return;
  if (convertor)
    convertor->ClearPackedSkin();
  else
    convertor = std::make_unique<TacSkinConvertor>();
  convertor->ownedData_ = std::make_unique<TMemoryStream>();
  convertor->ownedData_->LoadFromFile(fileName);
  convertor->PackedData = convertor->ownedData_.get();
  convertor->ReadPackedSkin();
  if (freeSource) {
    convertor->PackedData = nullptr;
    convertor->ownedData_.reset();
  }
}
