// Pins the process-wide decimal and thousand separators for one test (the machine's locale
// decides them otherwise) and puts the old ones back afterwards.
#pragma once

#include "framework/convert.h"

namespace gridtest {

class PinnedSeparators {
 public:
  explicit PinnedSeparators(char decimal, char thousand = ' ')
      : decimal_(efir::FormatSettings().DecimalSeparator),
        thousand_(efir::FormatSettings().ThousandSeparator) {
    efir::FormatSettings().DecimalSeparator = decimal;
    efir::FormatSettings().ThousandSeparator = thousand;
  }
  ~PinnedSeparators() {
    efir::FormatSettings().DecimalSeparator = decimal_;
    efir::FormatSettings().ThousandSeparator = thousand_;
  }
  PinnedSeparators(const PinnedSeparators&) = delete;
  PinnedSeparators& operator=(const PinnedSeparators&) = delete;

 private:
  char decimal_, thousand_;
};

}  // namespace gridtest
