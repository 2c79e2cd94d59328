// The main window's settings: its placement, state and tree width read
// when it is first shown and written when it closes.
#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include <algorithm>

#include "ui/logic/view_choice.h"
#include "ui/qt/error_report.h"
#include "ui/qt/settings_file.h"

namespace brannock::ui {

void TfrmMain::setVisible(bool visible) {
  if (visible && !settingsRead_) Guarded(ReportError, [&] { ReadWindowSettings(); });
  QMainWindow::setVisible(visible);
  if (visible && minimizeAfterShow_) {
    minimizeAfterShow_ = false;
    showMinimized();
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  Guarded(ReportError, [&] { WriteWindowSettings(); });
}

ScreenInfo TfrmMain::Screens() const {
  ScreenInfo info;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return info;
  const QRect desktop = primary->virtualGeometry();
  info.desktopWidth = desktop.width();
  info.desktopHeight = desktop.height();
  info.pixelsPerInch = qRound(primary->logicalDotsPerInch());
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    info.monitors.push_back({g.x(), g.y(), g.x() + g.width(), g.y() + g.height()});
  }
  return info;
}

Placement TfrmMain::CurrentPlacement() const {
  Placement p;
  p.showCmd = isMinimized() ? 2 : isMaximized() ? 3 : 1;
  const QRect n = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  p.normal = {n.x(), n.y(), n.x() + n.width(), n.y() + n.height()};
  return p;
}

void TfrmMain::ReadWindowSettings() {
  settingsRead_ = true;
  if (!options_.settings) return;
  const ScreenInfo screens = Screens();
  const StoredSettings stored = ReadStoredSettings(options_.settings->Store(), screens);
  const RestorePlan plan =
      PlanRestore(stored, CurrentPlacement(), isVisible(), screens, {x(), y(), width(), height()});
  if (!plan.read) return;
  if (plan.applyPlacement || plan.offMonitor) {
    Rect r = plan.placement.normal;
    if (plan.offMonitor) {
      // Off the screens: moved onto the nearest one's available area.
      std::vector<Rect> areas;
      for (QScreen* s : QGuiApplication::screens()) {
        const QRect a = s->availableGeometry();
        areas.push_back({a.x(), a.y(), a.x() + a.width(), a.y() + a.height()});
      }
      if (const std::optional<Rect> area = NearestMonitor(r, areas)) r = MoveOntoMonitor(r, *area);
    }
    setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  switch (plan.show) {
    case ShowState::Maximized: setWindowState(windowState() | Qt::WindowMaximized); break;
    case ShowState::Minimized: minimizeAfterShow_ = true; break;
    case ShowState::Normal: break;
  }
  if (plan.treeWidth && *plan.treeWidth > 0) {
    const int total = std::max(width() - Splitter->handleWidth(), *plan.treeWidth + 1);
    Splitter->setSizes({*plan.treeWidth, total - *plan.treeWidth});
  }
}

void TfrmMain::WriteWindowSettings() {
  settingsWritten_ = true;
  if (!options_.settings) return;
  CurrentSettings current;
  current.placement = CurrentPlacement();
  current.applicationMinimized = isMinimized();
  current.pixelsPerInch = Screens().pixelsPerInch;
  current.treeWidth = Splitter->sizes().value(0, Tree->width());
  WriteSettings(options_.settings->Store(), Screens(), settingsRead_, current);
  if (options_.view) WriteStoredView(options_.settings->Store(), options_.view->View());
  options_.settings->Save();
}

}  // namespace brannock::ui
