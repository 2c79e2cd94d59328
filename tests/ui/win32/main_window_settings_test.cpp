// The placement settings of the Win32 main window in the live
// HKEY_CURRENT_USER of the Wine prefix: written when the window closes,
// restored at the next first showing, maximized included. The Wine stage
// checks the same values in the prefix's user.reg afterwards.
#include "registry/registry_reader.h"
#include "ui/logic/window_settings.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

std::optional<DWORD> StoredDword(const wchar_t* name) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, platform::ToWide(kSettingsKey).c_str(), name, RRF_RT_ANY, &type, &value,
                   &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

Text StoredText(const wchar_t* name) {
  wchar_t buffer[256];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, platform::ToWide(kSettingsKey).c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return {};
  return platform::FromWide(buffer, wcslen(buffer));
}

std::wstring IntToWide(long v) { return std::to_wstring(v); }

RECT NormalRect(HWND window) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  return wp.rcNormalPosition;
}

// Drags the splitter to the tree width wanted: pressed one pixel into the
// bar, moved by the difference (the bar's own coordinates).
void DragSplitter(TfrmMain& frm, int width) {
  const auto x = static_cast<WORD>(width - frm.TreeWidth() + 1);
  SendMessageW(frm.Splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 100));
  SendMessageW(frm.Splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 100));
  SendMessageW(frm.Splitter, WM_LBUTTONUP, 0, MAKELPARAM(x, 100));
}

// The object tree's width on the screen.
int ShownWidth(HWND tree) {
  RECT r;
  GetWindowRect(tree, &r);
  return r.right - r.left;
}

void ShowAndPump(HWND window, int command) {
  ShowWindow(window, command);
  Pump();
}

// The round trip also minimizes: minimized, the window's client area is
// empty, and the tree keeps the width the user gave it, on the screen after
// the restore and in the settings when the window is closed minimized; a
// start minimized keeps it too. (One window for each start: under Wine
// without a window manager each shown window takes two seconds to go.)
TEST(Win32MainWindow, SettingsRoundTripThroughTheRegistry) {
  if (Env("BRANNOCK_WINDOW_SETTINGS").empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Velkar");
  Captured captured;
  {
    // First run: no key; the window opens centred at its designed size.
    LiveWindow w(true);
    w.frm->Show(SW_SHOWNORMAL);
    Pump();
    RECT client;
    GetClientRect(w.frm->Handle(), &client);
    EXPECT_EQ(client.right, 792);
    EXPECT_EQ(w.frm->TreeWidth(), 301);
    const HWND window = w.frm->Handle();
    SetWindowPos(window, nullptr, 40, 30, 700, 480, SWP_NOZORDER);
    DragSplitter(*w.frm, 222);
    EXPECT_EQ(w.frm->TreeWidth(), 222);
    ShowAndPump(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    ShowAndPump(window, SW_RESTORE);
    EXPECT_EQ(w.frm->TreeWidth(), 222);
    EXPECT_EQ(ShownWidth(w.frm->Tree), 222);
    // Narrower than the tree, the window shows less of it; widened again,
    // all of it.
    SetWindowPos(window, nullptr, 0, 0, 200, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_LT(ShownWidth(w.frm->Tree), 200);
    SetWindowPos(window, nullptr, 40, 30, 700, 480, SWP_NOZORDER);
    Pump();
    EXPECT_EQ(ShownWidth(w.frm->Tree), 222);
    ShowAndPump(window, SW_MINIMIZE);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
  }
  EXPECT_EQ(StoredDword(L"FormVersion"), 0u);
  EXPECT_EQ(StoredDword(L"ShowCmd"), 2u);
  EXPECT_EQ(StoredDword(L"Tree_Width"), 222u);
  EXPECT_EQ(StoredDword(L"PixelsPerInch"), 96u);
  EXPECT_TRUE(StoredDword(L"Flags"));
  EXPECT_EQ(StoredText(L"NormPos"), u"40,30,740,510");
  const Text suffix = u"(" + IntToText(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + u"x" +
                      IntToText(GetSystemMetrics(SM_CYVIRTUALSCREEN)) + u")";
  EXPECT_EQ(StoredText((L"NormPos" + platform::ToWide(suffix)).c_str()), u"40,30,740,510");
  EXPECT_FALSE(StoredText(L"MinMaxPos").empty());
  {
    // The next start shows it minimized and restores it to its rectangle;
    // it is closed maximized.
    LiveWindow w(true);
    w.frm->Show(SW_SHOWNORMAL);
    Pump();
    EXPECT_TRUE(IsIconic(w.frm->Handle()));
    ShowAndPump(w.frm->Handle(), SW_RESTORE);
    EXPECT_EQ(ShownWidth(w.frm->Tree), 222);
    const RECT r = NormalRect(w.frm->Handle());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 740);
    EXPECT_EQ(r.bottom, 510);
    EXPECT_EQ(w.frm->TreeWidth(), 222);
    EXPECT_FALSE(IsZoomed(w.frm->Handle()));
    // Log-off or shutdown (WM_ENDSESSION) writes the settings with the
    // window still open; a cancelled one writes nothing.
    SetWindowPos(w.frm->Handle(), nullptr, 50, 40, 700, 480, SWP_NOZORDER);
    Pump();
    SendMessageW(w.frm->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(StoredText(L"NormPos"), u"40,30,740,510");
    EXPECT_EQ(StoredDword(L"ShowCmd"), 2u);
    SendMessageW(w.frm->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(StoredText(L"NormPos"), u"50,40,750,520");
    EXPECT_EQ(StoredDword(L"ShowCmd"), 1u);
    ASSERT_TRUE(IsWindow(w.frm->Handle()));
    SetWindowPos(w.frm->Handle(), nullptr, 40, 30, 700, 480, SWP_NOZORDER);
    Pump();
    ShowWindow(w.frm->Handle(), SW_MAXIMIZE);
    Pump();
    SendMessageW(w.frm->Handle(), WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(StoredDword(L"ShowCmd"), 3u);
  EXPECT_EQ(StoredText(L"NormPos"), u"40,30,740,510") << "the rectangle from before maximizing";
  {
    // Stored maximized opens maximized and restores to the rectangle.
    LiveWindow w(true);
    w.frm->Show(SW_SHOWNORMAL);
    Pump();
    EXPECT_TRUE(IsZoomed(w.frm->Handle()));
    ShowWindow(w.frm->Handle(), SW_RESTORE);
    Pump();
    RECT r;
    GetWindowRect(w.frm->Handle(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right, 740);
    // Leave it stored maximized for the stage's look at user.reg. The
    // destructor writes when no close was granted.
    ShowWindow(w.frm->Handle(), SW_MAXIMIZE);
    Pump();
  }
  EXPECT_EQ(StoredDword(L"ShowCmd"), 3u);
  // A rectangle that lies off the monitors, wholly or in part, is moved
  // onto the nearest one by the least distance, its size kept.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT work = monitor.rcWork;
  struct Off {
    std::wstring stored;
    RECT expected;
  };
  const Off offs[] = {
      {L"-5000,-5000,-4300,-4520", {work.left, work.top, work.left + 700, work.top + 480}},
      {IntToWide(work.right - 300) + L",100," + IntToWide(work.right + 400) + L",580",
       {work.right - 700, 100, work.right, 580}},
  };
  for (const Off& off : offs) {
    SCOPED_TRACE(Utf16ToUtf8(platform::FromWide(off.stored)));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, platform::ToWide(kSettingsKey).c_str(), 0, KEY_WRITE, &key),
              ERROR_SUCCESS);
    for (std::wstring name : {std::wstring(L"NormPos"), L"NormPos" + platform::ToWide(suffix)})
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(off.stored.c_str()),
                     static_cast<DWORD>((off.stored.size() + 1) * sizeof(wchar_t)));
    const DWORD normal = 1;
    RegSetValueExW(key, L"ShowCmd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&normal), sizeof normal);
    RegCloseKey(key);
    LiveWindow stored(true);
    stored.frm->Show(SW_SHOWNORMAL);
    Pump();
    const RECT r = NormalRect(stored.frm->Handle());
    EXPECT_EQ(r.left, off.expected.left);
    EXPECT_EQ(r.top, off.expected.top);
    EXPECT_EQ(r.right, off.expected.right);
    EXPECT_EQ(r.bottom, off.expected.bottom);
    EXPECT_TRUE(IsWindowVisible(stored.frm->Handle()));
    ShowWindow(stored.frm->Handle(), SW_MAXIMIZE);
    Pump();
  }
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
