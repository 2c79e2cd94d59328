// The main window's persisted placement: where the nine values live, how
// they are read back into a placement and in what order they are written.
// Works on any registry store (the live HKEY_CURRENT_USER on Windows, the
// settings file's store elsewhere) and on plain numbers, so the rules can be
// run without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/text.h"
#include "registry/registry_backend.h"

namespace brannock::ui {

// Below HKEY_CURRENT_USER: the storage root and the window's name.
inline constexpr char16_t kSettingsKey[] = u"Software\\Velkar\\Brannock\\1.x\\frmMain";

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The window placement as the platform reports it (show command 1 normal,
// 2 minimized, 3 maximized; 0 hidden).
struct Placement {
  uint32_t flags = 0;
  int32_t showCmd = 1;
  Point minPos{-1, -1};
  Point maxPos{-1, -1};
  Rect normal;
};

struct ScreenInfo {
  int desktopWidth = 0;   // the whole virtual desktop
  int desktopHeight = 0;
  int pixelsPerInch = 96;
  std::vector<Rect> monitors;
};

// "(%dx%d)" with the desktop's width and height.
Text DesktopSuffix(const ScreenInfo& screen);

// The values as found in the store; the position texts are the ones with the
// current desktop's suffix when those exist, else the plain ones.
struct StoredSettings {
  std::optional<int32_t> formVersion, showCmd, flags, pixelsPerInch, treeWidth;
  Text minMaxPos, normPos;
};

// Missing key or values give empty fields. Values of another type than the
// one written count as missing.
StoredSettings ReadStoredSettings(registry::RegistryBackend& store, const ScreenInfo& screen);

enum class ShowState { Normal, Minimized, Maximized };

struct RestorePlan {
  bool read = false;             // FormVersion was not below 0
  bool applyPlacement = false;   // the stored rectangle is used
  // The stored rectangle is sound (this screen's pixels per inch, left
  // below right) but does not lie on the monitors: the front end moves it
  // onto the nearest one (MoveOntoMonitor) rather than lose it.
  bool offMonitor = false;
  Placement placement;           // the placement to apply
  ShowState show = ShowState::Normal;
  std::optional<int> treeWidth;
};

// The restore decisions at the first showing. `current` is the window's
// placement now (its show command counts as hidden when it is not visible
// yet), `geometry` the window's left, top, width and height.
RestorePlan PlanRestore(const StoredSettings& stored, Placement current, bool visible, const ScreenInfo& screen,
                        Rect geometry);

// `window` moved the least distance that puts it inside `workArea`, its
// size kept where it fits (else cut to the work area's).
Rect MoveOntoMonitor(Rect window, Rect workArea);

// Of `monitors`, the one sharing the largest area with `window`, else the
// one closest to it (as MonitorFromRect's MONITOR_DEFAULTTONEAREST); none
// when there are no monitors.
std::optional<Rect> NearestMonitor(Rect window, const std::vector<Rect>& monitors);

// The state that is written when the window closes.
struct CurrentSettings {
  Placement placement;
  bool applicationMinimized = false;
  int pixelsPerInch = 96;
  int treeWidth = 0;
};

// Writes "FormVersion", and, when the settings were read at a first
// showing, "ShowCmd", "Flags", "PixelsPerInch", "MinMaxPos" with the desktop
// suffix and plain, "NormPos" with the suffix and plain, and "Tree_Width",
// in this order. Raises Error "Unable to create key '%s'" when the key
// cannot be created.
void WriteSettings(registry::RegistryBackend& store, const ScreenInfo& screen, bool settingsRead,
                   const CurrentSettings& current);

}  // namespace brannock::ui
