// The window's registry view: its texts, the start-up choice and the value
// kept beside the window placement.
#include <gtest/gtest.h>

#include "common/error.h"
#include "registry/memory_store.h"
#include "ui/logic/view_choice.h"
#include "ui/logic/window_settings.h"

using namespace brannock;
using namespace brannock::ui;
using registry::MemoryStore;
using registry::RegistryView;
using registry::RootKey;

TEST(ViewChoice, TextsAndTheViewsASourceHas) {
  MemoryStore both;
  MemoryStore only32;
  only32.SetMachineView(RegistryView::Bits32);
  EXPECT_EQ(ViewItemCaption(RegistryView::Bits64, both), u"64-bit registrations");
  EXPECT_EQ(ViewItemCaption(RegistryView::Bits32, both), u"32-bit registrations");
  EXPECT_TRUE(ViewItemEnabled(RegistryView::Bits64, both));
  EXPECT_EQ(ViewItemCaption(RegistryView::Bits64, only32), u"64-bit registrations (none in a registry of 32-bit Windows)");
  EXPECT_FALSE(ViewItemEnabled(RegistryView::Bits64, only32));
  EXPECT_TRUE(ViewItemEnabled(RegistryView::Bits32, only32));
  EXPECT_EQ(MainWindowTitle(u"Brannock", RegistryView::Bits32), u"Brannock - 32-bit");
  EXPECT_EQ(MainWindowTitle(u"Brannock", RegistryView::Bits64), u"Brannock - 64-bit");
  EXPECT_EQ(ViewStatusText(RegistryView::Bits32), u"32-bit registrations");

  // The command line wins; a stored view counts only when the source has it.
  EXPECT_EQ(StartView(std::nullopt, std::nullopt, both), RegistryView::Bits64);
  EXPECT_EQ(StartView(std::nullopt, std::nullopt, only32), RegistryView::Bits32);
  EXPECT_EQ(StartView(std::nullopt, RegistryView::Bits32, both), RegistryView::Bits32);
  EXPECT_EQ(StartView(std::nullopt, RegistryView::Bits64, only32), RegistryView::Bits32);
  EXPECT_EQ(StartView(RegistryView::Bits64, RegistryView::Bits32, both), RegistryView::Bits64);
}

// A switch empties the lists read from the other view; the view shown, or
// one the source lacks, changes nothing.
TEST(ViewChoice, SwitchingEmptiesTheListsOfTheOtherView) {
  MemoryStore both;
  both.SetString(RootKey::ClassesRoot, u"CLSID\\{C64}", u"", u"Sixty-four");
  both.SetString(RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C32}", u"", u"Thirty-two");
  both.SetString(RootKey::ClassesRoot, u"Interface\\{I}", u"", u"IShared");
  registry::ViewedRegistry viewed(both, RegistryView::Bits64);
  Catalogue catalogue(viewed);
  catalogue.ReadList(TObjectType::otCLSID);
  catalogue.ReadList(TObjectType::otInterface);
  EXPECT_FALSE(SwitchView(viewed, catalogue, RegistryView::Bits64));
  EXPECT_EQ(catalogue.OCList.size(), 1u);
  EXPECT_TRUE(SwitchView(viewed, catalogue, RegistryView::Bits32));
  EXPECT_EQ(viewed.View(), RegistryView::Bits32);
  EXPECT_TRUE(catalogue.OCList.empty() && catalogue.IFList.empty());
  catalogue.ReadList(TObjectType::otCLSID);
  ASSERT_EQ(catalogue.OCList.size(), 1u);
  EXPECT_EQ(catalogue.OCList[0].Name, u"Thirty-two");

  MemoryStore only32;
  only32.SetMachineView(RegistryView::Bits32);
  only32.SetString(RootKey::ClassesRoot, u"CLSID\\{C}", u"", u"Class");
  registry::ViewedRegistry viewed32(only32, RegistryView::Bits32);
  Catalogue catalogue32(viewed32);
  catalogue32.ReadList(TObjectType::otCLSID);
  EXPECT_THROW(SwitchView(viewed32, catalogue32, RegistryView::Bits64), Error);
  EXPECT_EQ(viewed32.View(), RegistryView::Bits32);
  EXPECT_EQ(catalogue32.OCList.size(), 1u);
}

TEST(ViewChoice, KeptBesideTheWindowPlacement) {
  MemoryStore settings;
  EXPECT_FALSE(ReadStoredView(settings));
  WriteStoredView(settings, RegistryView::Bits32);
  EXPECT_EQ(ReadStoredView(settings), RegistryView::Bits32);
  const MemoryStore::Value* value = settings.Find(RootKey::CurrentUser, kSettingsKey)->FindValue(kViewValueName);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, registry::RegType::Dword);
  EXPECT_EQ(value->data, (registry::Bytes{32, 0, 0, 0}));
  WriteStoredView(settings, RegistryView::Bits64);
  EXPECT_EQ(ReadStoredView(settings), RegistryView::Bits64);

  // Anything else stored there is no view.
  settings.SetDword(RootKey::CurrentUser, kSettingsKey, kViewValueName, 16);
  EXPECT_FALSE(ReadStoredView(settings));
  settings.SetString(RootKey::CurrentUser, kSettingsKey, kViewValueName, u"32");
  EXPECT_FALSE(ReadStoredView(settings));

  MemoryStore readOnly;
  readOnly.SetReadOnly(true);
  try {
    WriteStoredView(readOnly, RegistryView::Bits32);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Unable to create key 'Software\\Velkar\\Brannock\\1.x\\frmMain'");
  }
}
