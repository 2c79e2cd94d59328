#include "ui/win32/window_font.h"

#include "ui/win32/font_quality.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

HFONT CreateWindowFont(UINT dpi) {
  constexpr int kPoints = 8;
  return CreateFontW(FontHeight(kPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, SystemFontQuality(), DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace brannock::ui
