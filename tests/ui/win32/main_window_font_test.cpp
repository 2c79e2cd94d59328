// The main window's fonts name the system's font smoothing as their quality
// (under Wine a font of default quality is slow to select); text drawn with
// them must look exactly as with a font of default quality.
#include <algorithm>
#include <cstdint>

#include "ui/win32/font_quality.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

// The pixels of a line of text drawn in black on white with `font`.
std::vector<uint32_t> Drawn(HFONT font) {
  constexpr int kWidth = 240, kHeight = 20;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  const wchar_t text[] = L"Interfaces IUnknown {00000000-C000}";
  TextOutW(dc, 2, 2, text, static_cast<int>(wcslen(text)));
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + kWidth * kHeight);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

TEST(Win32MainWindow, FontsDrawAsTheSystemsDefault) {
  LiveWindow w;
  for (HWND control : {w.frm->Tree, w.frm->eName}) {
    auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_TRUE(GetObjectW(font, sizeof logical, &logical));
    EXPECT_EQ(logical.lfQuality, SystemFontQuality());
    logical.lfQuality = DEFAULT_QUALITY;
    HFONT plain = CreateFontIndirectW(&logical);
    const std::vector<uint32_t> drawn = Drawn(font);
    EXPECT_EQ(drawn, Drawn(plain));
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), drawn.front()), static_cast<ptrdiff_t>(drawn.size()))
        << "some text was drawn";
    DeleteObject(plain);
  }
}

}  // namespace
}  // namespace brannock::ui::testing
