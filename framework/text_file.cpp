#include "framework/text_file.h"

#include "framework/exceptions.h"

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr size_t kBufferSize = 64 * 1024;
// Append looks for an end-of-file byte this far back, where older programs left it.
constexpr int64_t kTailSearch = 128;

}  // namespace

TTextFile::~TTextFile() {
  try {
    Close();
  } catch (const Exception&) {
    // Nobody is left to tell; callers who care call Close themselves.
  }
}

void TTextFile::open(const std::string& path, Mode mode, DWORD disposition) {
  Close();
  DWORD access = mode == Mode::Input ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD share = mode == Mode::Input ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  file_ = efir::FileHandle::Open(path, access, share, disposition);
  path_ = path;
  mode_ = mode;
  in_.clear();
  inPos_ = 0;
  inEnded_ = false;
  out_.clear();
}

void TTextFile::Rewrite(const std::string& path) { open(path, Mode::Output, CREATE_ALWAYS); }

void TTextFile::Reset(const std::string& path) { open(path, Mode::Input, OPEN_EXISTING); }

void TTextFile::Append(const std::string& path) {
  open(path, Mode::Output, OPEN_EXISTING);
  // Text after an end-of-file byte would be invisible to readers: write over it.
  int64_t size = file_.Size(path_);
  int64_t from = std::max<int64_t>(0, size - kTailSearch);
  std::string tail(static_cast<size_t>(size - from), '\0');
  file_.Seek(from, FILE_BEGIN, path_);
  tail.resize(file_.Read(tail.data(), tail.size(), path_));
  size_t mark = tail.find(kEndOfFile);
  if (mark != std::string::npos) {
    file_.Seek(from + static_cast<int64_t>(mark), FILE_BEGIN, path_);
    file_.Truncate(path_);
  } else {
    file_.Seek(0, FILE_END, path_);
  }
}

void TTextFile::Close() {
  if (mode_ == Mode::Closed) return;
  // Closed even when the last write fails, so that the failure is reported once.
  Mode mode = mode_;
  mode_ = Mode::Closed;
  efir::FileHandle file = std::move(file_);
  std::string pending;
  pending.swap(out_);
  if (mode == Mode::Output) file.Write(pending.data(), pending.size(), path_);
}

void TTextFile::requireMode(Mode mode) const {
  if (mode_ == mode) return;
  if (mode_ == Mode::Closed) throw EInOutError("File not open", 103);
  throw EInOutError(mode == Mode::Input ? "File not open for input: \"" + path_ + "\""
                                        : "File not open for output: \"" + path_ + "\"",
                    mode == Mode::Input ? 104 : 105);
}

bool TTextFile::atEnd() {
  if (inPos_ == in_.size()) {
    if (inEnded_) return true;
    in_.resize(kBufferSize);
    in_.resize(file_.Read(in_.data(), in_.size(), path_));
    inPos_ = 0;
    inEnded_ = in_.empty();
    if (inEnded_) return true;
  }
  return in_[inPos_] == kEndOfFile;
}

std::string TTextFile::ReadLine() {
  requireMode(Mode::Input);
  std::string line;
  while (!atEnd()) {
    char c = in_[inPos_++];
    if (c == '\n') break;
    if (c != '\r') line += c;
  }
  return line;
}

char TTextFile::ReadChar() {
  requireMode(Mode::Input);
  return atEnd() ? kEndOfFile : in_[inPos_++];
}

bool TTextFile::Eof() {
  requireMode(Mode::Input);
  return atEnd();
}

void TTextFile::Write(std::string_view text) {
  requireMode(Mode::Output);
  out_ += text;
  if (out_.size() >= kBufferSize) flush();
}

void TTextFile::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void TTextFile::flush() {
  std::string pending;
  pending.swap(out_);
  file_.Write(pending.data(), pending.size(), path_);
}
