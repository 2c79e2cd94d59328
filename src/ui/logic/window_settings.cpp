#include "ui/logic/window_settings.h"

#include <algorithm>

#include "common/error.h"
#include "common/text_rules.h"
#include "registry/memory_store.h"
#include "registry/registry_reader.h"

namespace brannock::ui {

using registry::Bytes;
namespace RegType = registry::RegType;
using registry::RootKey;

Text DesktopSuffix(const ScreenInfo& screen) {
  return u"(" + IntToText(screen.desktopWidth) + u"x" + IntToText(screen.desktopHeight) + u")";
}

namespace {

// A value written by WriteSettings, read back; missing or of another type
// is nothing.
std::optional<int32_t> ReadDword(registry::RegistryReader& reader, TextView name) {
  uint32_t type = 0, size = 0;
  if (!reader.GetDataInfo(name, &type, &size) || type != RegType::Dword || size != 4) return std::nullopt;
  return reader.ReadInteger(name);
}

std::optional<Text> ReadText(registry::RegistryReader& reader, TextView name) {
  uint32_t type = 0, size = 0;
  if (!reader.GetDataInfo(name, &type, &size) || type != RegType::Sz) return std::nullopt;
  return reader.ReadString(name);
}

Text SuffixedOrPlain(registry::RegistryReader& reader, TextView name, TextView suffix) {
  if (auto s = ReadText(reader, Text(name) + Text(suffix))) return *s;
  return ReadText(reader, name).value_or(Text());
}

// Field i (0-based) of a comma-separated text, read as an integer.
std::optional<int> Field(const TextList& fields, size_t i) {
  int32_t v = 0;
  if (i < fields.size() && TryStrToInt(fields[i], &v)) return v;
  return std::nullopt;
}

bool OnMonitor(const ScreenInfo& screen, Point p) {
  for (const Rect& m : screen.monitors)
    if (p.x >= m.left && p.x < m.right && p.y >= m.top && p.y < m.bottom) return true;
  return false;
}

Text FourNumbers(int a, int b, int c, int d) {
  return IntToText(a) + u"," + IntToText(b) + u"," + IntToText(c) + u"," + IntToText(d);
}

Bytes DwordData(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return Bytes{static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
               static_cast<uint8_t>(u >> 24)};
}

}  // namespace

StoredSettings ReadStoredSettings(registry::RegistryBackend& store, const ScreenInfo& screen) {
  StoredSettings s;
  auto reader = registry::RegistryReader::ProcessView(store, RootKey::CurrentUser);
  if (!reader.OpenKeyReadOnly(kSettingsKey)) return s;
  const Text suffix = DesktopSuffix(screen);
  s.formVersion = ReadDword(reader, u"FormVersion");
  s.showCmd = ReadDword(reader, u"ShowCmd");
  s.flags = ReadDword(reader, u"Flags");
  s.pixelsPerInch = ReadDword(reader, u"PixelsPerInch");
  s.treeWidth = ReadDword(reader, u"Tree_Width");
  s.minMaxPos = SuffixedOrPlain(reader, u"MinMaxPos", suffix);
  s.normPos = SuffixedOrPlain(reader, u"NormPos", suffix);
  return s;
}

RestorePlan PlanRestore(const StoredSettings& stored, Placement current, bool visible, const ScreenInfo& screen,
                        Rect geometry) {
  RestorePlan plan;
  plan.placement = current;
  if (stored.formVersion.value_or(0) < 0) return plan;
  plan.read = true;

  const int32_t showBefore = current.showCmd;
  Placement& p = plan.placement;
  if (!visible) p.showCmd = 0;
  if (stored.flags) p.flags = static_cast<uint32_t>(*stored.flags);

  if (!stored.minMaxPos.empty()) {
    const TextList f = Split(stored.minMaxPos, u',');
    p.minPos = {Field(f, 0).value_or(0), Field(f, 1).value_or(0)};
    p.maxPos = {Field(f, 2).value_or(0), Field(f, 3).value_or(0)};
  }
  if (!stored.normPos.empty()) {
    const TextList f = Split(stored.normPos, u',');
    const int width = geometry.right, height = geometry.bottom;
    p.normal = {Field(f, 0).value_or(geometry.left), Field(f, 1).value_or(geometry.top), Field(f, 2).value_or(width),
                Field(f, 3).value_or(height)};
  }
  if (!stored.minMaxPos.empty() || !stored.normPos.empty()) {
    const int ppi = stored.pixelsPerInch.value_or(screen.pixelsPerInch);
    const bool sound = ppi == screen.pixelsPerInch && p.normal.left < p.normal.right;
    plan.applyPlacement = sound && OnMonitor(screen, {p.normal.left, p.normal.top}) &&
                          OnMonitor(screen, {p.normal.right - 1, p.normal.bottom - 1});
    plan.offMonitor = sound && !plan.applyPlacement && p.normal.top < p.normal.bottom;
  }
  switch (stored.showCmd.value_or(showBefore)) {
    case 2: case 6: case 7: plan.show = ShowState::Minimized; break;
    case 3: plan.show = ShowState::Maximized; break;
    default: plan.show = ShowState::Normal; break;
  }
  plan.treeWidth = stored.treeWidth;
  return plan;
}

Rect MoveOntoMonitor(Rect window, Rect workArea) {
  const int width = std::min(window.right - window.left, workArea.right - workArea.left);
  const int height = std::min(window.bottom - window.top, workArea.bottom - workArea.top);
  const int left = std::clamp(window.left, workArea.left, workArea.right - width);
  const int top = std::clamp(window.top, workArea.top, workArea.bottom - height);
  return {left, top, left + width, top + height};
}

std::optional<Rect> NearestMonitor(Rect window, const std::vector<Rect>& monitors) {
  std::optional<Rect> best;
  int64_t bestShared = -1, bestDistance = 0;
  for (const Rect& m : monitors) {
    const int64_t w = std::min(window.right, m.right) - std::max(window.left, m.left);
    const int64_t h = std::min(window.bottom, m.bottom) - std::max(window.top, m.top);
    const int64_t shared = w > 0 && h > 0 ? w * h : 0;
    const int64_t dx = std::max<int64_t>({int64_t{m.left} - window.right, int64_t{window.left} - m.right, 0});
    const int64_t dy = std::max<int64_t>({int64_t{m.top} - window.bottom, int64_t{window.top} - m.bottom, 0});
    const int64_t distance = dx * dx + dy * dy;
    if (!best || shared > bestShared || (shared == 0 && bestShared == 0 && distance < bestDistance)) {
      best = m;
      bestShared = shared;
      bestDistance = distance;
    }
  }
  return best;
}

void WriteSettings(registry::RegistryBackend& store, const ScreenInfo& screen, bool settingsRead,
                   const CurrentSettings& current) {
  auto key = store.Create(RootKey::CurrentUser, kSettingsKey);
  if (!key) throw Error(u"Unable to create key '" + Text(kSettingsKey) + u"'");
  auto dword = [&](TextView name, int32_t v) { key->SetValue(name, RegType::Dword, DwordData(v)); };
  auto text = [&](TextView name, TextView v) {
    key->SetValue(name, RegType::Sz, registry::MemoryStore::TextData(v));
  };
  dword(u"FormVersion", 0);
  if (!settingsRead) return;
  const Placement& p = current.placement;
  const Text suffix = DesktopSuffix(screen);
  const Text minMax = FourNumbers(p.minPos.x, p.minPos.y, p.maxPos.x, p.maxPos.y);
  const Text norm = FourNumbers(p.normal.left, p.normal.top, p.normal.right, p.normal.bottom);
  dword(u"ShowCmd", current.applicationMinimized ? 2 : p.showCmd);
  dword(u"Flags", static_cast<int32_t>(p.flags));
  dword(u"PixelsPerInch", current.pixelsPerInch);
  text(u"MinMaxPos" + suffix, minMax);
  text(u"MinMaxPos", minMax);
  text(u"NormPos" + suffix, norm);
  text(u"NormPos", norm);
  dword(u"Tree_Width", current.treeWidth);
}

}  // namespace brannock::ui
