// The viewer and the About dialog at their dpi (96 in the viewer stage's
// prefix, 144 in the one of scripts/wine-dpi-stage.sh): the sizes of the
// design scaled to it, and every text fits its control. WM_DPICHANGED,
// which Wine 8 does not send, is tested by sending it: to half as much
// again and back. The windows stay hidden.
#include "../text_fit.h"
#include "platform/version_info.h"
#include "ui/logic/window_sizes.h"
#include "ui/win32/about_dialog.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

// The place WM_DPICHANGED suggests: the window half as large again, or as
// it was.
RECT Suggested(const RECT& before, UINT from, UINT to) {
  return {before.left, before.top, before.left + MulDiv(before.right - before.left, to, from),
          before.top + MulDiv(before.bottom - before.top, to, from)};
}

// The height of a line of the text's font at `dpi`: Courier New of 10
// points (13 pixels a character at 96 dpi) scaled to it, in whichever font
// the system gives for that name (under Wine it depends on the fonts the
// machine has).
int CourierLineHeight(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = Scaled(-13, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynW(font.lfFaceName, L"Courier New", LF_FACESIZE);
  const HFONT made = CreateFontIndirectW(&font);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, made);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(made);
  return metrics.tmHeight;
}

void ExpectViewerFits(const TfrmTLBView& view) {
  const UINT dpi = view.Dpi();
  SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
  using namespace viewer_size;
  RECT client;
  GetClientRect(view.Handle(), &client);
  EXPECT_NEAR(view.TreeWidth(), Scaled(kTreeWidth, dpi), 1);
  EXPECT_EQ(FontHeightOf(view.Tree), FontHeight(8, dpi));
  EXPECT_EQ(TreeView_GetItemHeight(view.Tree), Scaled(16, dpi));
  ExpectTreeLinesFit(view.Tree);
  ExpectPanelTextFits(view.sb, 0, L"Ready");
  ExpectPanelTextFits(view.sb, 1, platform::ToWide(view.PanelText(1)));
  // The text's lines are as high as its font of 10 points at this dpi.
  EXPECT_EQ(view.SynMemo->LineHeight(), CourierLineHeight(dpi));
}

void ExpectAboutFits(const TdlgAbout& about) {
  const UINT dpi = about.Dpi();
  SCOPED_TRACE("About at " + std::to_string(dpi) + " dpi");
  using namespace about_size;
  RECT client;
  GetClientRect(about.Handle(), &client);
  EXPECT_EQ(client.right, Scaled(kWidth, dpi));
  EXPECT_EQ(client.bottom, Scaled(kHeight, dpi));
  EXPECT_EQ(about.TopBand().bottom - about.TopBand().top, Scaled(kTopBandHeight, dpi));
  for (HWND label : {about.lProduct, about.lVer, about.lCR, about.lDesc, about.lEmail, about.lWWW})
    ExpectLabelTextFits(label);
  ExpectButtonTextFits(about.Button2, dpi);
}

TEST(Win32Dpi, ViewerAndAboutScaleToTheirDpiAndEveryTextFits) {
  BoxCapture boxes;
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const auto view = OpenView({"stdole2", std::wstring(system) + L"\\stdole2.tlb"});
  ASSERT_TRUE(view);
  const UINT dpi = view->Dpi();
  if (ExpectedDpi()) {
    EXPECT_EQ(dpi, ExpectedDpi());
  }
  EXPECT_EQ(dpi, WindowDpi(view->Handle()));
  RECT client;
  GetClientRect(view->Handle(), &client);
  EXPECT_EQ(client.right, Scaled(viewer_size::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scaled(viewer_size::kClientHeight, dpi));
  ExpectViewerFits(*view);
  RECT before;
  GetWindowRect(view->Handle(), &before);
  for (const UINT to : {dpi * 3 / 2, dpi}) {
    const RECT suggested = Suggested(before, dpi, to);
    SendMessageW(view->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(view->Dpi(), to);
    ExpectViewerFits(*view);
  }

  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  if (ExpectedDpi()) {
    EXPECT_EQ(about.Dpi(), ExpectedDpi());
  }
  ExpectAboutFits(about);
  GetWindowRect(about.Handle(), &before);
  for (const UINT to : {dpi * 3 / 2, dpi}) {
    const RECT suggested = Suggested(before, dpi, to);
    SendMessageW(about.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(about.Dpi(), to);
    ExpectAboutFits(about);
  }
  EXPECT_TRUE(boxes.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
