// The placement settings of TfrmMain on Win32: read at the first showing,
// written when a close is granted (or at destruction), through the rules of
// ui/logic/window_settings.h on HKEY_CURRENT_USER.
#include <algorithm>

#include "ui/logic/view_choice.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<std::vector<Rect>*>(data)->push_back({rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

// A rectangle that lies off the monitors, moved into the work area of the
// monitor nearest to it.
Rect OntoNearestMonitor(const Rect& r) {
  const RECT rect{r.left, r.top, r.right, r.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return r;
  return MoveOntoMonitor(r, {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
}

}  // namespace

ScreenInfo TfrmMain::Screens() const {
  ScreenInfo info;
  info.desktopWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  info.desktopHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  // The screen's pixels per inch: the system's, whatever the monitor the
  // window is on (a placement saved at another setting is not applied).
  info.pixelsPerInch = static_cast<int>(SystemDpi());
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&info.monitors));
  return info;
}

Placement TfrmMain::CurrentPlacement() const {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window_, &wp);
  Placement p;
  p.flags = wp.flags;
  p.showCmd = static_cast<int32_t>(wp.showCmd);
  p.minPos = {wp.ptMinPosition.x, wp.ptMinPosition.y};
  p.maxPos = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
  p.normal = {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
              wp.rcNormalPosition.bottom};
  return p;
}

void TfrmMain::Show(int showCommand) {
  int show = showCommand;
  if (!settingsRead_) {
    // The window is hidden still: the stored placement and state are put in
    // place before it shows.
    struct Plan {
      ShowState state = ShowState::Normal;
      bool read = false;
    } plan;
    Guarded(ReportError, [&] {
      settingsRead_ = true;
      if (!options_.settings) return;
      const ScreenInfo screens = Screens();
      const StoredSettings stored = ReadStoredSettings(*options_.settings, screens);
      RECT r;
      GetWindowRect(window_, &r);
      const RestorePlan restore = PlanRestore(stored, CurrentPlacement(), IsWindowVisible(window_) != FALSE, screens,
                                              {r.left, r.top, r.right - r.left, r.bottom - r.top});
      if (!restore.read) return;
      plan.read = true;
      plan.state = restore.show;
      if (restore.applyPlacement || restore.offMonitor) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        wp.flags = restore.placement.flags & WPF_SETMINPOSITION;
        wp.showCmd = SW_HIDE;
        wp.ptMinPosition = {restore.placement.minPos.x, restore.placement.minPos.y};
        wp.ptMaxPosition = {restore.placement.maxPos.x, restore.placement.maxPos.y};
        const Rect n = restore.offMonitor ? OntoNearestMonitor(restore.placement.normal) : restore.placement.normal;
        wp.rcNormalPosition = {n.left, n.top, n.right, n.bottom};
        SetWindowPlacement(window_, &wp);
      }
      if (restore.treeWidth && *restore.treeWidth > 0) {
        treeWidth_ = *restore.treeWidth;
        Layout();
      }
    });
    if (plan.read) {
      switch (plan.state) {
        case ShowState::Maximized: show = SW_SHOWMAXIMIZED; break;
        case ShowState::Minimized: show = SW_SHOWMINIMIZED; break;
        case ShowState::Normal:
          if (show == SW_SHOWMAXIMIZED || show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_MAXIMIZE)
            show = SW_SHOWNORMAL;
          break;
      }
    }
  }
  ShowWindow(window_, show);
  UpdateWindow(window_);
}

void TfrmMain::WriteWindowSettings() {
  settingsWritten_ = true;
  if (!options_.settings) return;
  CurrentSettings current;
  current.placement = CurrentPlacement();
  current.applicationMinimized = IsIconic(window_) != FALSE;
  const ScreenInfo screens = Screens();
  current.pixelsPerInch = screens.pixelsPerInch;
  current.treeWidth = treeWidth_;
  WriteSettings(*options_.settings, screens, settingsRead_, current);
  if (options_.view) WriteStoredView(*options_.settings, options_.view->View());
}

}  // namespace brannock::ui
