// Line-oriented text files with the programs' rules, the one place they are written down:
// a line read ends at LF or CR LF, a CR inside a line is dropped, byte 0x1A ends the file;
// lines are written with CR LF. Text is Windows-1251 bytes, passed through unchanged.
// Every open, read and write failure raises EInOutError naming the file.
//
//   TTextFile f;
//   f.Reset(folder + "favs.txt");                 // read; Rewrite creates or empties, Append adds
//   while (!f.Eof()) numbers.push_back(efir::StrToInt(f.ReadLine()));
//   f.Close();
//
// Reading a line past the end gives an empty line without error; reading a character at the
// end gives 26 (the end-of-file byte). Call Close to learn of a failed final write: the
// destructor closes too, but cannot report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/file_handle.h"

class TTextFile {
 public:
  TTextFile() = default;
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  ~TTextFile();

  void Rewrite(const std::string& path);  // create, or empty an existing file; for writing
  void Append(const std::string& path);   // an existing file, for writing at its end
  void Reset(const std::string& path);    // an existing file, for reading from its start
  void Close();
  bool IsOpen() const { return mode_ != Mode::Closed; }

  std::string ReadLine();
  char ReadChar();
  bool Eof();

  void Write(std::string_view text);
  void WriteLine(std::string_view text = {});

 private:
  enum class Mode { Closed, Input, Output };

  void open(const std::string& path, Mode mode, DWORD disposition);
  void requireMode(Mode mode) const;
  bool atEnd();  // buffers more when needed
  void flush();

  efir::FileHandle file_;
  std::string path_;
  Mode mode_ = Mode::Closed;
  std::vector<char> in_;
  size_t inPos_ = 0;
  bool inEnded_ = false;
  std::string out_;
};
