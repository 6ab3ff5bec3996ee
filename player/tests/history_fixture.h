// What the tests of the song history and the reminder share: a user whose long time format is
// "hh:nn:ss", whatever the machine's locale and whatever earlier tests of the process (their
// downloads) left in the process-wide format settings.
#pragma once

#include "framework/convert.h"

namespace history_test {

// Holds for the object's life; the main window takes the format when it is made.
class UserTimeFormat {
 public:
  UserTimeFormat() : saved_(efir::FormatSettings()) {
    efir::FormatSettings().LongTimeFormat = "hh:nn:ss";
  }
  ~UserTimeFormat() { efir::FormatSettings() = saved_; }
  UserTimeFormat(const UserTimeFormat&) = delete;
  UserTimeFormat& operator=(const UserTimeFormat&) = delete;

 private:
  efir::TFormatSettings saved_;
};

}  // namespace history_test
