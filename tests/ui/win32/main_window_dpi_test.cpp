// The main window at its dpi (96 in the window stage's prefix, 144 in the
// one of scripts/wine-dpi-stage.sh): the sizes of the design scaled to it,
// and every button's and field's text fits its control. WM_DPICHANGED,
// which Wine 8 does not send, is tested by sending it: to half as much
// again and back. The window stays hidden (under Wine without a window
// manager each shown window takes two seconds to go).
#include "text_fit.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/window_sizes.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

using namespace main_size;

SIZE SizeOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void ExpectScaledLayout(const TfrmMain& frm) {
  const UINT dpi = frm.Dpi();
  EXPECT_EQ(FontHeightOf(frm.Tree), FontHeight(8, dpi));
  EXPECT_EQ(FontHeightOf(frm.eName), FontHeight(8, dpi));
  EXPECT_NEAR(frm.TreeWidth(), Scaled(kTreeWidth, dpi), 1);
  EXPECT_EQ(SizeOf(frm.Memo).cy, Scaled(kMemoHeight, dpi));
  // The design's widths at least; more where a caption needs it in this
  // font (Wine's Tahoma is wider than Windows').
  EXPECT_GE(SizeOf(frm.bCopy).cx, Scaled(kWideButtonWidth, dpi));
  EXPECT_EQ(SizeOf(frm.bView).cx, SizeOf(frm.bCopy).cx);
  EXPECT_GE(SizeOf(frm.bReg).cx, Scaled(kButtonWidth, dpi));
  EXPECT_EQ(SizeOf(frm.bUnreg).cx, SizeOf(frm.bReg).cx);
  RECT part{};
  SendMessageW(frm.sb, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
  EXPECT_GE(part.right - part.left, Scaled(kStatusPanelWidth, dpi) - 2);
}

void ExpectTextsFit(const TfrmMain& frm) {
  const UINT dpi = frm.Dpi();
  SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
  for (HWND button : {frm.bView, frm.bCopy, frm.bReg, frm.bUnreg}) ExpectButtonTextFits(button, dpi);
  ExpectFieldTextFits(frm.eName);
  ExpectFieldTextFits(frm.eGUID);
  RECT name, guid;
  GetWindowRect(frm.eName, &name);
  GetWindowRect(frm.eGUID, &guid);
  EXPECT_LE(name.bottom, guid.top);
  for (const char16_t* status : {kReadyText, kWorkingText})
    ExpectPanelTextFits(frm.sb, 0, platform::ToWide(status));
  RECT tab{};
  TabCtrl_GetItemRect(frm.pc, 0, &tab);
  const SIZE caption = DrawnSize(frm.pc, L" Registry ");
  EXPECT_LE(caption.cx, tab.right - tab.left);
  EXPECT_LE(caption.cy, tab.bottom - tab.top);
  ExpectTreeLinesFit(frm.Tree);
  ExpectTreeLinesFit(frm.RegTree);
}

TEST(Win32Dpi, MainWindowScalesToItsDpiAndEveryTextFits) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  const HWND window = frm.Handle();
  const UINT dpi = frm.Dpi();
  if (ExpectedDpi()) {
    EXPECT_EQ(dpi, ExpectedDpi());
  }
  EXPECT_EQ(dpi, WindowDpi(window));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Scaled(kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scaled(kClientHeight, dpi));
  // An object shows the page with the buttons.
  HTREEITEM dictionary = w.Find(TObjectType::otCLSID, u"{EE09B103-97E0-11CF-978F-00A02463E06F}");
  ASSERT_TRUE(dictionary);
  w.Select(dictionary);
  ASSERT_TRUE(Shown(frm.bReg));
  ExpectScaledLayout(frm);
  ExpectTextsFit(frm);

  // Moved to a monitor of half as much again, and back.
  RECT before;
  GetWindowRect(window, &before);
  for (const UINT to : {dpi * 3 / 2, dpi}) {
    const RECT suggested = to == dpi ? before
                                     : RECT{before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                                            before.top + (before.bottom - before.top) * 3 / 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(frm.Dpi(), to);
    RECT now;
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    ExpectScaledLayout(frm);
    ExpectTextsFit(frm);
  }
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
