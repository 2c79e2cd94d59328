#include "ui/logic/window_settings.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "registry/memory_store.h"
#include "registry/registry_reader.h"

namespace brannock::ui {
namespace {

using registry::MemoryStore;
using registry::RootKey;

ScreenInfo OneMonitor() {
  ScreenInfo s;
  s.desktopWidth = 1920;
  s.desktopHeight = 1080;
  s.pixelsPerInch = 96;
  s.monitors = {{0, 0, 1920, 1080}};
  return s;
}

Placement Normal(Rect r) {
  Placement p;
  p.showCmd = 1;
  p.normal = r;
  return p;
}

TextList ValueNames(MemoryStore& store) {
  auto reader = registry::RegistryReader::ProcessView(store, RootKey::CurrentUser);
  TextList names;
  if (reader.OpenKeyReadOnly(kSettingsKey)) reader.GetValueNames(names);
  return names;
}

TEST(WindowSettings, FirstRunKeepsDesignedPlacement) {
  MemoryStore store;
  const StoredSettings stored = ReadStoredSettings(store, OneMonitor());
  EXPECT_FALSE(stored.formVersion.has_value());
  const RestorePlan plan = PlanRestore(stored, Normal({10, 10, 800, 600}), false, OneMonitor(), {10, 10, 790, 590});
  EXPECT_TRUE(plan.read);
  EXPECT_FALSE(plan.applyPlacement);
  EXPECT_EQ(plan.show, ShowState::Normal);
  EXPECT_FALSE(plan.treeWidth.has_value());
}

TEST(WindowSettings, WriteOrderAndRoundTrip) {
  MemoryStore store;
  CurrentSettings cur;
  cur.placement = Normal({100, 50, 900, 650});
  cur.placement.showCmd = 3;
  cur.placement.maxPos = {-8, -8};
  cur.pixelsPerInch = 96;
  cur.treeWidth = 333;
  WriteSettings(store, OneMonitor(), true, cur);
  EXPECT_EQ(ValueNames(store),
            (TextList{u"FormVersion", u"ShowCmd", u"Flags", u"PixelsPerInch", u"MinMaxPos(1920x1080)", u"MinMaxPos",
                      u"NormPos(1920x1080)", u"NormPos", u"Tree_Width"}));
  auto reader = registry::RegistryReader::ProcessView(store, RootKey::CurrentUser);
  ASSERT_TRUE(reader.OpenKeyReadOnly(kSettingsKey));
  EXPECT_EQ(reader.ReadString(u"NormPos"), u"100,50,900,650");
  EXPECT_EQ(reader.ReadString(u"MinMaxPos"), u"-1,-1,-8,-8");

  const StoredSettings stored = ReadStoredSettings(store, OneMonitor());
  const RestorePlan plan = PlanRestore(stored, Normal({0, 0, 10, 10}), false, OneMonitor(), {0, 0, 10, 10});
  EXPECT_TRUE(plan.applyPlacement);
  EXPECT_EQ(plan.placement.normal, (Rect{100, 50, 900, 650}));
  EXPECT_EQ(plan.placement.maxPos, (Point{-8, -8}));
  EXPECT_EQ(plan.show, ShowState::Maximized);
  EXPECT_EQ(plan.treeWidth, 333);

  // Minimized application: show command 2; without a first showing only
  // FormVersion is written.
  cur.applicationMinimized = true;
  WriteSettings(store, OneMonitor(), true, cur);
  EXPECT_EQ(PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {}).show,
            ShowState::Minimized);
  MemoryStore batch;
  WriteSettings(batch, OneMonitor(), false, cur);
  EXPECT_EQ(ValueNames(batch), TextList{u"FormVersion"});
}

TEST(WindowSettings, ForeignMonitorOtherPpiAndDesktopSuffix) {
  MemoryStore store;
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos", u"2000,100,2600,500");
  StoredSettings stored = ReadStoredSettings(store, OneMonitor());
  EXPECT_FALSE(PlanRestore(stored, Normal({}), false, OneMonitor(), {}).applyPlacement);

  // The suffixed value of the current desktop wins over the plain one.
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos(1920x1080)", u"10,20,300,400");
  stored = ReadStoredSettings(store, OneMonitor());
  EXPECT_EQ(stored.normPos, u"10,20,300,400");
  EXPECT_TRUE(PlanRestore(stored, Normal({}), false, OneMonitor(), {}).applyPlacement);

  // Saved at another pixels-per-inch setting: ignored.
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"PixelsPerInch", 144);
  stored = ReadStoredSettings(store, OneMonitor());
  EXPECT_FALSE(PlanRestore(stored, Normal({}), false, OneMonitor(), {}).applyPlacement);

  // A bottom-right corner off every monitor, or left not below right. The
  // first is a rectangle to move onto a monitor, the second none at all;
  // one at another pixels per inch is not moved either.
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"PixelsPerInch", 96);
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos(1920x1080)", u"10,20,1921,400");
  RestorePlan off = PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {});
  EXPECT_FALSE(off.applyPlacement);
  EXPECT_TRUE(off.offMonitor);
  EXPECT_EQ(off.placement.normal, (Rect{10, 20, 1921, 400}));
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos(1920x1080)", u"300,20,300,400");
  off = PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {});
  EXPECT_FALSE(off.applyPlacement || off.offMonitor);
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos(1920x1080)", u"-5000,-5000,-4300,-4520");
  off = PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {});
  EXPECT_TRUE(off.offMonitor);
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"PixelsPerInch", 120);
  EXPECT_FALSE(PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {}).offMonitor);
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"PixelsPerInch", 96);

  // Fields that are not numbers take the window's left, top, width, height.
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"NormPos(1920x1080)", u"x,20,y");
  const RestorePlan plan =
      PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {7, 8, 500, 400});
  EXPECT_EQ(plan.placement.normal, (Rect{7, 20, 500, 400}));
}

// Onto a monitor's work area by the shortest move; a window larger than the
// work area is cut to it.
TEST(WindowSettings, MoveOntoMonitorKeepsTheSizeAndMovesTheLeast) {
  const Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(MoveOntoMonitor({-5000, -5000, -4300, -4520}, work), (Rect{0, 0, 700, 480}));
  EXPECT_EQ(MoveOntoMonitor({1800, 100, 2500, 580}, work), (Rect{1220, 100, 1920, 580}));
  EXPECT_EQ(MoveOntoMonitor({100, 1000, 800, 1480}, work), (Rect{100, 560, 800, 1040}));
  EXPECT_EQ(MoveOntoMonitor({10, 20, 710, 500}, work), (Rect{10, 20, 710, 500})) << "already inside";
  EXPECT_EQ(MoveOntoMonitor({-100, -50, 3000, 2000}, work), work);
  const Rect second{1920, 0, 3200, 1024};  // a monitor right of the first
  EXPECT_EQ(MoveOntoMonitor({4000, 300, 4700, 780}, second), (Rect{2500, 300, 3200, 780}));

  // The nearest monitor: the most shared area, else the least distance.
  const std::vector<Rect> two = {work, second};
  EXPECT_EQ(NearestMonitor({4000, 300, 4700, 780}, two), second);
  EXPECT_EQ(NearestMonitor({-5000, -5000, -4300, -4520}, two), work);
  EXPECT_EQ(NearestMonitor({1800, 100, 2500, 580}, two), second) << "more of it on the second";
  EXPECT_EQ(NearestMonitor({1500, 100, 2000, 580}, two), work);
  EXPECT_FALSE(NearestMonitor({0, 0, 10, 10}, {}).has_value());
}

TEST(WindowSettings, FormVersionShowCommandsAndFlags) {
  MemoryStore store;
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"FormVersion", static_cast<uint32_t>(-1));
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"Tree_Width", 200);
  RestorePlan plan = PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), true, OneMonitor(), {});
  EXPECT_FALSE(plan.read);
  EXPECT_FALSE(plan.treeWidth.has_value());

  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"FormVersion", 0);
  store.SetDword(RootKey::CurrentUser, kSettingsKey, u"Flags", 2);
  for (auto [cmd, want] : std::vector<std::pair<uint32_t, ShowState>>{{1, ShowState::Normal},
                                                                    {5, ShowState::Normal},
                                                                    {9, ShowState::Normal},
                                                                    {2, ShowState::Minimized},
                                                                    {6, ShowState::Minimized},
                                                                    {7, ShowState::Minimized},
                                                                    {3, ShowState::Maximized},
                                                                    {4, ShowState::Normal}}) {
    store.SetDword(RootKey::CurrentUser, kSettingsKey, u"ShowCmd", cmd);
    plan = PlanRestore(ReadStoredSettings(store, OneMonitor()), Normal({}), false, OneMonitor(), {});
    EXPECT_EQ(plan.show, want) << cmd;
  }
  EXPECT_EQ(plan.placement.flags, 2u);
  EXPECT_EQ(plan.placement.showCmd, 0);  // not visible yet: hidden
  EXPECT_EQ(plan.treeWidth, 200);

  // A value of another type counts as missing.
  store.SetString(RootKey::CurrentUser, kSettingsKey, u"Tree_Width", u"wide");
  EXPECT_FALSE(ReadStoredSettings(store, OneMonitor()).treeWidth.has_value());

  MemoryStore readOnly;
  readOnly.SetReadOnly(true);
  EXPECT_THROW(WriteSettings(readOnly, OneMonitor(), true, {}), Error);
}

}  // namespace
}  // namespace brannock::ui
