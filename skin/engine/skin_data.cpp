#include "skin/engine/skin_data.h"

// C++ division truncates toward zero, as the painters expect also for reversed rectangles.
int MaskStateWidth(const TsMaskData& mask) {
  return mask.ImageCount == 0 ? 0 : (mask.R.right - mask.R.left) / mask.ImageCount;
}

int MaskStateHeight(const TsMaskData& mask) {
  return mask.MaskType == -1 ? 0 : (mask.R.bottom - mask.R.top) / (mask.MaskType + 1);
}
