// COM's launch and access permissions in words: the rights of an entry, the
// lines of a descriptor, and the Security tab of AppIDs and classes on the
// machine of tests/data/analysis/check_machine.reg.
#include <gtest/gtest.h>

#include "analysis/com_permissions.h"
#include "platform/sddl.h"
#include "platform/security_descriptor.h"
#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/viewed_registry.h"
#include "support/descriptor_fixtures.h"

using namespace brannock;
using namespace brannock::analysis;

namespace {

const std::filesystem::path kMachine = std::filesystem::path(BRANNOCK_TEST_DATA) / "analysis" / "check_machine.reg";

TObjectData Object(TObjectType typ, const char16_t* guid, const char16_t* name = u"") {
  TObjectData rec;
  rec.Typ = typ;
  rec.GUID = guid;
  rec.Name = name;
  return rec;
}

TextList Lines(const TObjectData& object, registry::MemoryStore& store) {
  registry::ViewedRegistry viewed(store, registry::RegistryView::Bits64);
  return SecurityLines(SecurityOf(object, viewed, store));
}

const Text kOle = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole";

}  // namespace

TEST(ComPermissions, RightsInWords) {
  EXPECT_EQ(ComRightsText(PermissionKind::Launch, 0x1F),
            u"Local Launch, Remote Launch, Local Activation, Remote Activation");
  EXPECT_EQ(ComRightsText(PermissionKind::Launch, 0xB), u"Local Launch, Local Activation");
  EXPECT_EQ(ComRightsText(PermissionKind::Access, 0x7), u"Local Access, Remote Access");
  // Activation means nothing for access; unknown bits are named as such.
  EXPECT_EQ(ComRightsText(PermissionKind::Access, 0x1B), u"Local Access, other rights 0x18");
  EXPECT_EQ(ComRightsText(PermissionKind::Launch, 0x10000003), u"Local Launch, other rights 0x10000000");
  // The older form: Execute alone grants everything.
  EXPECT_EQ(ComRightsText(PermissionKind::Launch, 0x1),
            u"Execute (the older form: Local and Remote Launch and Activation)");
  EXPECT_EQ(ComRightsText(PermissionKind::Access, 0x1), u"Execute (the older form: Local and Remote Access)");
  EXPECT_EQ(ComRightsText(PermissionKind::Launch, 0x4), u"Remote Launch (without Execute, which COM requires)");
  EXPECT_EQ(ComRightsText(PermissionKind::Access, 0), u"no rights");
}

TEST(ComPermissions, DescriptorLinesOfTheFixtures) {
  std::map<std::string, TextList> lines;
  for (const auto& f : brannock::testing::DescriptorFixtures()) {
    const auto read = platform::ReadSecurityDescriptor(f.bytes);
    if (read.descriptor) lines[f.name] = DescriptorLines(*read.descriptor, PermissionKind::Launch);
  }
  EXPECT_EQ(lines["launch-restriction"],
            (TextList{u"Owner: Administrators (S-1-5-32-544)", u"Group: Administrators (S-1-5-32-544)",
                      u"Allow Administrators (S-1-5-32-544): Local Launch, Remote Launch, Local Activation, Remote Activation",
                      u"Allow Everyone (S-1-1-0): Local Launch, Local Activation",
                      u"Allow Distributed COM Users (S-1-5-32-562): Local Launch, Remote Launch, Local Activation, "
                      u"Remote Activation",
                      u"Allow Performance Log Users (S-1-5-32-559): Local Launch, Remote Launch, Local Activation, "
                      u"Remote Activation",
                      u"Allow ALL APPLICATION PACKAGES (S-1-15-2-1): Local Launch, Local Activation"}));
  EXPECT_EQ(lines["deny-first"], (TextList{u"Deny NETWORK (S-1-5-2): Local Activation",
                                            u"Allow Everyone (S-1-1-0): Local Launch, Remote Launch, Local "
                                            u"Activation, Remote Activation"}));
  EXPECT_EQ(lines["null-dacl"], (TextList{u"Owner: SYSTEM (S-1-5-18)",
                                           u"DACL: none (a null ACL): no access control, everyone is allowed everything"}));
  EXPECT_EQ(lines["empty-dacl"], (TextList{u"Owner: Administrators (S-1-5-32-544)", u"DACL: no entries: nobody is allowed anything"}));
  EXPECT_EQ(lines["group-only"], (TextList{u"Group: Users (S-1-5-32-545)", u"No DACL"}));
  EXPECT_EQ(lines["audit"], (TextList{u"No DACL", u"AU entry for Everyone (S-1-1-0): CCDC"}));
}

TEST(ComPermissions, TheSecurityTabOfAppIdsAndClasses) {
  registry::MemoryStore store;
  registry::LoadRegFile(kMachine, store);
  const Text a1 = u"{A0000001-0000-4000-8000-000000000000}";
  const TextList own = Lines(Object(TObjectType::otAppID, a1.c_str(), u"Good AppID"), store);
  ASSERT_GE(own.size(), 4u);
  EXPECT_EQ(own[0], u"AppID " + a1 + u" (Good AppID)");
  EXPECT_EQ(own[1], u"Launch and activation permissions: LaunchPermission of HKEY_CLASSES_ROOT\\AppID\\" + a1);
  // The SDDL is the platform's (Wine writes LU as its SID).
  for (const auto& f : brannock::testing::DescriptorFixtures())
    if (f.name == "launch-restriction") EXPECT_EQ(own[2], u"   " + platform::DescribeSecurityDescriptor(f.bytes).sddl);
  EXPECT_EQ(own[3], u"   Owner: Administrators (S-1-5-32-544)");
  // A damaged value is one line, in place of its SDDL and entries.
  const auto access = std::find(own.begin(), own.end(),
                                u"Access permissions: AccessPermission of HKEY_CLASSES_ROOT\\AppID\\" + a1);
  ASSERT_NE(access, own.end());
  EXPECT_EQ(*(access + 1), u"   Damaged security descriptor (byte 20): the DACL claims 64 bytes, beyond the 48 of the value");
  EXPECT_EQ(own.back(), u"   Damaged security descriptor (byte 0): the value has 12 bytes, fewer than the 20 of a "
                        u"descriptor's header");

  // An AppID without values of its own: the machine's defaults, said so;
  // the class that names an AppID shows the same tab.
  const TextList defaults = Lines(Object(TObjectType::otAppID, u"{A0000002-0000-4000-8000-000000000000}"), store);
  EXPECT_EQ(defaults[1], u"Launch and activation permissions: the AppID has no LaunchPermission; the machine default "
                         u"applies, DefaultLaunchPermission of " + kOle);
  EXPECT_EQ(defaults[2], u"   O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)(A;;CCDCLCSWRP;;;BA)(A;;CCDCLCSWRP;;;IU)");
  const auto noAccess = std::find(defaults.begin(), defaults.end(), u"Access permissions: the AppID has no AccessPermission");
  ASSERT_NE(noAccess, defaults.end());
  EXPECT_EQ(*(noAccess + 1), u"   The machine has no DefaultAccessPermission either: COM's built-in default applies");
  EXPECT_NE(std::find(defaults.begin(), defaults.end(), u"   Not set"), defaults.end());  // MachineLaunchRestriction

  const TextList ofClass = Lines(Object(TObjectType::otCLSID, u"{C0000001-0000-4000-8000-000000000000}"), store);
  EXPECT_EQ(ofClass[0], u"The class runs in the AppID " + a1);
  EXPECT_EQ(TextList(ofClass.begin() + 1, ofClass.end()), TextList(own.begin() + 1, own.end()));
  // Other objects have no tab: a class without an AppID, an interface.
  registry::ViewedRegistry viewed(store, registry::RegistryView::Bits64);
  EXPECT_FALSE(SecurityOf(Object(TObjectType::otCLSID, u"{C0000002-0000-4000-8000-000000000000}"), viewed, store).applies);
  EXPECT_FALSE(SecurityOf(Object(TObjectType::otInterface, u"{E0000001-0000-4000-8000-000000000000}"), viewed, store).applies);
}

TEST(ComPermissions, ASourceWithoutTheMachinesSettingsSaysSo) {
  registry::MemoryStore whole;
  registry::LoadRegFile(kMachine, whole);
  registry::MemoryStore classes;
  classes.Root(registry::RootKey::ClassesRoot).Children().swap(whole.Root(registry::RootKey::ClassesRoot).Children());
  const TextList lines = Lines(Object(TObjectType::otAppID, u"{A0000002-0000-4000-8000-000000000000}"), classes);
  EXPECT_EQ(lines[2], u"   The machine's DefaultLaunchPermission is not known: the source has no " + kOle);
  EXPECT_EQ(lines.back(), u"   Not known: the source has no " + kOle);
}
