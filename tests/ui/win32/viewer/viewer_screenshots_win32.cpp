// Shows the Windows viewer or the About dialog for a screenshot, taken by
// scripts/wine-viewer-stage.sh --screenshots with ImageMagick's import:
//   viewer_screenshots_win32.exe viewer LIBRARY   the viewer, at the
//                                                 declaration of IHTMLDocument2
//   viewer_screenshots_win32.exe about            the About dialog
// Once the window is shown and drawn, its screen rectangle goes into the file
// BRANNOCK_SCREENSHOT_READY (WIDTHxHEIGHT+LEFT+TOP, as import's -crop takes
// it); the window closes when BRANNOCK_SCREENSHOT_DONE exists, or after 30 s
// without it (exit code 3). Exit code 1: the library did not open, 2: wrong
// arguments or no READY and DONE files named.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "platform/version_info.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/tlb_viewer.h"
#include "platform/win32/wide_text.h"
#include "typelib/loader.h"

using namespace brannock;
using namespace brannock::ui;

namespace {

constexpr UINT kTickMilliseconds = 50;
constexpr int kDoneTicks = 600;  // 30 s

// What the timer watches: the window, the files, and how it ended.
struct Screenshot {
  HWND window = nullptr;
  std::wstring ready, done;
  bool announced = false;
  int waited = 0;
  int exitCode = 0;
};
Screenshot shot;

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

bool WriteRectangle(const std::wstring& path, const RECT& r) {
  const std::wstring partial = path + L".tmp";
  FILE* out = _wfopen(partial.c_str(), L"w");
  if (!out) return false;
  std::fprintf(out, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  if (std::fclose(out) != 0) return false;
  return MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

// Runs in the window's modal loop: the first tick that finds the window
// shown draws it whole and announces it; later ticks wait for DONE.
void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!IsWindow(shot.window)) return;
  if (!shot.announced) {
    if (!IsWindowVisible(shot.window)) return;
    RedrawWindow(shot.window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    RECT r;
    GetWindowRect(shot.window, &r);
    if (!WriteRectangle(shot.ready, r)) {
      shot.exitCode = 2;
      KillTimer(nullptr, timer);
      PostMessageW(shot.window, WM_CLOSE, 0, 0);
      return;
    }
    shot.announced = true;
    return;
  }
  const bool done = GetFileAttributesW(shot.done.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!done && ++shot.waited < kDoneTicks) return;
  if (!done) shot.exitCode = 3;
  KillTimer(nullptr, timer);
  PostMessageW(shot.window, WM_CLOSE, 0, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  shot.ready = EnvironmentValue(L"BRANNOCK_SCREENSHOT_READY");
  shot.done = EnvironmentValue(L"BRANNOCK_SCREENSHOT_DONE");
  if (shot.ready.empty() || shot.done.empty() || argc < 2) return 2;
  InitCommonControls();
  CoInitialize(nullptr);
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, Tick);
  if (timer == 0) return 2;
  if (wcscmp(argv[1], L"about") == 0) {
    TdlgAbout dialog(nullptr, platform::ReadVersionInfo());
    shot.window = dialog.Handle();
    dialog.ShowModal();
    return shot.announced ? shot.exitCode : 3;
  }
  if (wcscmp(argv[1], L"viewer") != 0 || argc < 3) return 2;
  const auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  TObjectData record;
  record.Typ = TObjectType::otTypeLib;
  record.Server = platform::FromWide(argv[2], wcslen(argv[2]));
  const auto view = OpenTypeLibView(record, *loader, nullptr);
  if (!view) return 1;
  // Typed into the tree, as a user reaches it, then double-clicked.
  TreeView_SelectItem(view->Tree, TreeView_GetRoot(view->Tree));
  int64_t time = 0;
  for (const wchar_t* c = L"interface IHTMLDocument2"; *c; ++c) view->TreeTypeAhead(*c, time += 10);
  view->TreeDblClick();
  shot.window = view->Handle();
  view->ShowModal();
  return shot.announced ? shot.exitCode : 3;
}
