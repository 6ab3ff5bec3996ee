// The exceptions every part of the programs raises. Messages are Windows-1251 text, shown
// as they stand by the application's default handler (see application.h): a failure ends
// the current command, never the program.
//
//   throw EInOutError("Cannot open config.txt");
//   catch (const Exception& e) { ... e.Message() ... }
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A file could not be opened, read, written, renamed or deleted.
class EInOutError : public Exception {
 public:
  EInOutError(const std::string& message, int code = 0) : Exception(message), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

// Text that does not convert ("'abc' is not a valid integer value").
class EConvertError : public Exception {
  using Exception::Exception;
};

// A picture that cannot be read or decoded.
class EPictureError : public Exception {
  using Exception::Exception;
};

// An index outside a list ("List index out of bounds (5)").
class EListError : public Exception {
  using Exception::Exception;
};

// An automation (COM) call that failed.
class EAutomationError : public Exception {
  using Exception::Exception;
};
