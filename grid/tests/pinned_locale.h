// Pins the process-wide decimal separator for one test (the machine's locale decides it
// otherwise) and puts the old one back afterwards.
#pragma once

#include "framework/convert.h"

namespace gridtest {

class PinnedDecimal {
 public:
  explicit PinnedDecimal(char separator) : old_(efir::FormatSettings().DecimalSeparator) {
    efir::FormatSettings().DecimalSeparator = separator;
  }
  ~PinnedDecimal() { efir::FormatSettings().DecimalSeparator = old_; }
  PinnedDecimal(const PinnedDecimal&) = delete;
  PinnedDecimal& operator=(const PinnedDecimal&) = delete;

 private:
  char old_;
};

}  // namespace gridtest
