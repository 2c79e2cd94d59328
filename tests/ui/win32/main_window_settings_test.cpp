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

RECT NormalRect(HWND window) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  return wp.rcNormalPosition;
}

// Drags the splitter to the tree width wanted.
void DragSplitter(TfrmMain& frm, int width) {
  const int x = frm.TreeWidth() + 1;
  SendMessageW(frm.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
  SendMessageW(frm.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width, 100));
  SendMessageW(frm.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(width, 100));
}

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
    SetWindowPos(w.frm->Handle(), nullptr, 40, 30, 700, 480, SWP_NOZORDER);
    DragSplitter(*w.frm, 222);
    EXPECT_EQ(w.frm->TreeWidth(), 222);
    SendMessageW(w.frm->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w.frm->Handle()));
  }
  EXPECT_EQ(StoredDword(L"FormVersion"), 0u);
  EXPECT_EQ(StoredDword(L"ShowCmd"), 1u);
  EXPECT_EQ(StoredDword(L"Tree_Width"), 222u);
  EXPECT_EQ(StoredDword(L"PixelsPerInch"), 96u);
  EXPECT_TRUE(StoredDword(L"Flags"));
  EXPECT_EQ(StoredText(L"NormPos"), u"40,30,740,510");
  const Text suffix = u"(" + IntToText(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + u"x" +
                      IntToText(GetSystemMetrics(SM_CYVIRTUALSCREEN)) + u")";
  EXPECT_EQ(StoredText((L"NormPos" + platform::ToWide(suffix)).c_str()), u"40,30,740,510");
  EXPECT_FALSE(StoredText(L"MinMaxPos").empty());
  {
    // The next start restores it, and is closed maximized.
    LiveWindow w(true);
    w.frm->Show(SW_SHOWNORMAL);
    Pump();
    const RECT r = NormalRect(w.frm->Handle());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 740);
    EXPECT_EQ(r.bottom, 510);
    EXPECT_EQ(w.frm->TreeWidth(), 222);
    EXPECT_FALSE(IsZoomed(w.frm->Handle()));
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
  {
    // A rectangle on no monitor is ignored: the window opens centred.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, platform::ToWide(kSettingsKey).c_str(), 0, KEY_WRITE, &key),
              ERROR_SUCCESS);
    const wchar_t offScreen[] = L"-5000,-5000,-4300,-4520";
    for (std::wstring name : {std::wstring(L"NormPos"), L"NormPos" + platform::ToWide(suffix)})
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(offScreen), sizeof offScreen);
    const DWORD normal = 1;
    RegSetValueExW(key, L"ShowCmd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&normal), sizeof normal);
    RegCloseKey(key);
    LiveWindow w;  // no settings written back by this one
    LiveWindow stored(true);
    stored.frm->Show(SW_SHOWNORMAL);
    Pump();
    RECT a, b;
    GetWindowRect(w.frm->Handle(), &a);
    GetWindowRect(stored.frm->Handle(), &b);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_GE(b.left, 0);
    ShowWindow(stored.frm->Handle(), SW_MAXIMIZE);
    Pump();
  }
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
