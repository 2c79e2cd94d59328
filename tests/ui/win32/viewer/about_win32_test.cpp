#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/version_info.h"
#include "platform/win32/wide_text.h"
#include "ui/logic/about_text.h"
#include "ui/win32/about_dialog.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

// A string of this program's own version resource, read here directly.
Text ResourceString(const wchar_t* name) {
  wchar_t file[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, file, MAX_PATH);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &handle);
  if (size == 0) return u"<no version resource>";
  std::vector<char> block(size);
  GetFileVersionInfoW(file, 0, size, block.data());
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return {};
  return platform::FromWide(static_cast<const wchar_t*>(value), wcsnlen(static_cast<const wchar_t*>(value), length));
}

TEST(Win32About, TextsComeFromTheVersionResource) {
  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  EXPECT_EQ(WindowText(about.lProduct), ResourceString(L"ProductName"));
  EXPECT_EQ(WindowText(about.lProduct), u"Brannock");
  EXPECT_EQ(WindowText(about.lVer), u"Version 1.3.0.0");
  EXPECT_EQ(WindowText(about.lCR), ResourceString(L"LegalCopyright"));
  EXPECT_FALSE(WindowText(about.lCR).empty());
  // No comments in the resource: the description is the file description.
  EXPECT_EQ(ResourceString(L"Comments"), u"");
  EXPECT_EQ(WindowText(about.lDesc), ResourceString(L"FileDescription"));
  EXPECT_EQ(WindowText(about.Handle()), u"About....");
  EXPECT_EQ(WindowText(about.lEmail), u"brannock@example.org");
  EXPECT_EQ(WindowText(about.lWWW), u"brannock.example.org");
  EXPECT_EQ(WindowText(about.Button2), u"OK");
  const Text terms = WindowText(about.mLic);
  EXPECT_TRUE(terms.starts_with(TermsOfUseText().substr(0, 40)));
  EXPECT_NE(terms.find(u"\r\n\r\n"), Text::npos);
  DWORD start = 1, end = 1;
  SendMessageW(about.mLic, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
  // The client area and the bands.
  RECT client;
  GetClientRect(about.Handle(), &client);
  EXPECT_EQ(client.right, 462);
  EXPECT_EQ(client.bottom, 367);
  EXPECT_EQ(about.TopBand().bottom - about.TopBand().top, 117);
  EXPECT_EQ(GetWindowLongW(about.Handle(), GWL_STYLE) & (WS_CAPTION | WS_BORDER), 0);
}

TEST(Win32About, LinksGoToTheShellAndEnterCloses) {
  std::vector<Text> opened;
  SetShellOpenHook([&](const Text& address) { opened.push_back(address); });
  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(1, STN_CLICKED), reinterpret_cast<LPARAM>(about.lEmail));
  SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(2, STN_CLICKED), reinterpret_cast<LPARAM>(about.lWWW));
  SetShellOpenHook({});
  EXPECT_EQ(opened, (std::vector<Text>{kMakerEmail, kMakerHomepage}));

  // A safety net closes the dialog should Enter not, and says so.
  static bool closedBySafetyNet;
  closedBySafetyNet = false;
  SetTimer(about.Handle(), 1, 120000, [](HWND window, UINT, UINT_PTR, DWORD) {
    closedBySafetyNet = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  PostMessageW(about.Button2, WM_KEYDOWN, VK_RETURN, 0);
  about.ShowModal();
  EXPECT_FALSE(closedBySafetyNet) << "Enter did not close the dialog";
  EXPECT_FALSE(about.Handle());
}

INPUT MouseAt(POINT p, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Absolute coordinates: 0 to 65535 over the primary screen.
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((p.x * 65536LL + width / 2) / width);
  input.mi.dy = static_cast<LONG>((p.y * 65536LL + height / 2) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

// A press of the left button at `from` (screen) through the system's input
// queue. The dialog answers a press on its top band by starting the
// system's move of the window from a title bar (SC_MOVE with HTCAPTION):
// that request is taken here instead of the system's move loop, which
// under Xvfb waits for input that does not reach it. Returns whether the
// press started a move from the title bar.
LRESULT CALLBACK TakeMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MOVE) {
    *reinterpret_cast<WPARAM*>(data) = wParam;
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// Set once this thread has taken the release of the left button from its
// queue (a WH_MOUSE hook sees each mouse message as it is taken).
bool released = false;
LRESULT CALLBACK SeeRelease(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_LBUTTONUP || wParam == WM_NCLBUTTONUP)) released = true;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool PressStartsTitleBarMove(HWND dialog, POINT from) {
  WPARAM move = 0;
  SetWindowSubclass(dialog, TakeMove, 1, reinterpret_cast<DWORD_PTR>(&move));
  SetCursorPos(from.x, from.y);
  Pump();
  HHOOK hook = SetWindowsHookExW(WH_MOUSE, SeeRelease, nullptr, GetCurrentThreadId());
  released = false;
  INPUT inputs[] = {MouseAt(from, MOUSEEVENTF_LEFTDOWN), MouseAt(from, MOUSEEVENTF_LEFTUP)};
  SendInput(2, inputs, sizeof(INPUT));
  // Until the press and the release have come through the system's input
  // queue and been handled (a minute at most).
  for (int i = 0; i < 6000 && !released; ++i) {
    Pump();
    Sleep(10);
  }
  Pump();
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(released) << "the press never arrived";
  if (IsWindow(dialog)) RemoveWindowSubclass(dialog, TakeMove, 1);
  return move == (SC_MOVE | HTCAPTION);
}

POINT ScreenCentre(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(Win32About, ThePressOnTheTopBandOrItsControlsMovesTheDialog) {
  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  ShowWindow(about.Handle(), SW_SHOW);
  SetForegroundWindow(about.Handle());
  UpdateWindow(about.Handle());
  Pump();

  // On the band itself, below the icon, and on its labels, icon and logo.
  POINT band = {20, 80};
  ClientToScreen(about.Handle(), &band);
  for (const POINT from : {band, ScreenCentre(about.lProduct), ScreenCentre(about.lVer), ScreenCentre(about.lCR),
                           ScreenCentre(about.lDesc), ScreenCentre(about.Icon), ScreenCentre(about.Image1)})
    EXPECT_TRUE(PressStartsTitleBarMove(about.Handle(), from)) << "at " << from.x << "," << from.y;

  // Not from the white middle band, its links or the bottom band.
  POINT middle = {230, 117 + 5}, bottom = {20, 367 - 20};
  ClientToScreen(about.Handle(), &middle);
  ClientToScreen(about.Handle(), &bottom);
  std::vector<Text> opened;
  SetShellOpenHook([&](const Text& address) { opened.push_back(address); });
  for (const POINT from : {middle, bottom, ScreenCentre(about.lWWW), ScreenCentre(about.Button2)})
    EXPECT_FALSE(PressStartsTitleBarMove(about.Handle(), from)) << "at " << from.x << "," << from.y;
  SetShellOpenHook({});
  // The link under the mouse was followed; OK closed the dialog.
  EXPECT_EQ(opened, std::vector<Text>{kMakerHomepage});
  EXPECT_FALSE(about.Handle());
}

}  // namespace
}  // namespace brannock::ui::testing
