#include "ui/win32/font_quality.h"

namespace brannock::ui {

BYTE SystemFontQuality() {
  BOOL smoothing = FALSE;
  if (!SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) return DEFAULT_QUALITY;
  if (!smoothing) return NONANTIALIASED_QUALITY;
  UINT type = 0;
  if (!SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0)) return DEFAULT_QUALITY;
  return type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
}

bool ChangesFontQuality(WPARAM action) {
  return action == SPI_SETFONTSMOOTHING || action == SPI_SETFONTSMOOTHINGTYPE;
}

}  // namespace brannock::ui
