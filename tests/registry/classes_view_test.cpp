// The two views of HKEY_CLASSES_ROOT composed from registry files: the
// redirected keys of the 32-bit view from Wow6432Node, the shared keys from
// the common tree, the user's registrations over the machine's in each view.
#include <gtest/gtest.h>

#include <filesystem>

#include "registry/classes_root.h"
#include "registry/classes_view.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"
#include "registry/viewed_registry.h"
#include "registry/wine_reg_parser.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;

namespace {

constexpr RegistryView k32 = RegistryView::Bits32;
constexpr RegistryView k64 = RegistryView::Bits64;

const std::filesystem::path kViews = std::filesystem::path(BRANNOCK_TEST_DATA) / "registry" / "views";

std::unique_ptr<MemoryStore> LoadViews(const char* file) {
  auto store = std::make_unique<MemoryStore>();
  LoadRegFile(kViews / file, *store);
  return store;
}

TextList Subkeys(RegistryBackend& store, RegistryView view, TextView path) {
  ViewedRegistry viewed(store, view);
  auto reader = RegistryReader::ProcessView(viewed);
  TextList names{u"(not opened)"};
  if (reader.OpenKeyReadOnly(path)) reader.GetKeyNames(names);
  return names;
}

Text ValueText(RegistryBackend& store, RegistryView view, TextView path, TextView name = u"") {
  ViewedRegistry viewed(store, view);
  return GetRegValueText(viewed, CR, path, name, true);
}

const Text kOnly64 = u"{B4A22101-0000-4000-8000-000000000001}";
const Text kOnly32 = u"{B4A22102-0000-4000-8000-000000000002}";
const Text kBoth = u"{B4A22103-0000-4000-8000-000000000003}";
const Text kUser = u"{B4A22104-0000-4000-8000-000000000004}";
const Text kUserOnly32 = u"{B4A22105-0000-4000-8000-000000000005}";

}  // namespace

TEST(ClassesView, RedirectedKeysComeFromWow6432NodeSharedKeysFromTheCommonTree) {
  auto store = LoadViews("both_views.reg");
  EXPECT_EQ(Subkeys(*store, k64, u"CLSID"), (TextList{kOnly64, kBoth, kUser}));
  EXPECT_EQ(Subkeys(*store, k32, u"CLSID"), (TextList{kOnly32, kBoth, kUser, kUserOnly32}));
  EXPECT_EQ(Subkeys(*store, k64, u"Interface"), TextList{u"{B4A22131-0000-4000-8000-000000000031}"});
  EXPECT_EQ(Subkeys(*store, k32, u"Interface"), TextList{u"{B4A22132-0000-4000-8000-000000000032}"});

  // A class in both views, with a server of its own in each.
  EXPECT_EQ(ValueText(*store, k64, u"CLSID\\" + kBoth + u"\\InprocServer32"), u"C:\\windows\\system32\\both64.dll");
  EXPECT_EQ(ValueText(*store, k32, u"CLSID\\" + kBoth + u"\\InprocServer32"), u"C:\\windows\\syswow64\\both32.dll");
  // A class of one view is not found in the other, neither its key nor its values.
  EXPECT_EQ(ValueText(*store, k32, u"CLSID\\" + kOnly64), u"");
  EXPECT_EQ(ValueText(*store, k64, u"CLSID\\" + kOnly32), u"");
  EXPECT_EQ(Subkeys(*store, k64, u"CLSID\\" + kOnly32), TextList{u"(not opened)"});
  EXPECT_EQ(Subkeys(*store, k32, u"clsid\\" + kOnly32), TextList{u"InprocServer32"});

  // Shared keys: the same in both views; Wine's link below Wow6432Node\TypeLib
  // does not hide the shared TypeLib key.
  for (RegistryView view : {k32, k64}) {
    EXPECT_EQ(Subkeys(*store, view, u"AppID"), TextList{u"{B4A22120-0000-4000-8000-000000000020}"});
    EXPECT_EQ(ValueText(*store, view, u"TypeLib\\{B4A22110-0000-4000-8000-000000000010}\\1.0\\0\\win32"),
              u"C:\\windows\\system32\\shared.tlb");
    EXPECT_EQ(ValueText(*store, view, u"Brannock.Shared\\CLSID"), kBoth);
  }

  // The roots: the 32-bit view lists its redirected keys among the shared
  // ones, in enumeration order, and has no Wow6432Node of its own.
  EXPECT_EQ(Subkeys(*store, k64, u""),
            (TextList{u"AppID", u"Brannock.Shared", u"CLSID", u"Interface", u"TypeLib", u"Wow6432Node"}));
  EXPECT_EQ(Subkeys(*store, k32, u""), (TextList{u"AppID", u"Brannock.Shared", u"CLSID", u"Interface", u"TypeLib"}));
  ViewedRegistry viewed32(*store, k32);
  EXPECT_FALSE(RegistryReader::ProcessView(viewed32).KeyExists(u"Wow6432Node\\CLSID"));
  EXPECT_TRUE(RegistryReader::ProcessView(viewed32).KeyExists(u"CLSID\\" + kOnly32 + u"\\InprocServer32"));
}

TEST(ClassesView, TheUsersRegistrationsWinInEachView) {
  auto store = LoadViews("both_views.reg");
  EXPECT_EQ(ValueText(*store, k64, u"CLSID\\" + kUser), u"User 64");
  EXPECT_EQ(ValueText(*store, k32, u"CLSID\\" + kUser), u"User 32");
  // Values the user does not set stay the machine's.
  EXPECT_EQ(ValueText(*store, k32, u"CLSID\\" + kUser, u"MachineOnly"), u"kept");
  EXPECT_EQ(ValueText(*store, k64, u"CLSID\\" + kUser, u"MachineOnly"), u"");
  EXPECT_EQ(ValueText(*store, k32, u"CLSID\\" + kUserOnly32), u"User only 32");
}

TEST(ClassesView, TheMachinesOwnVersionOfWhatTheUserOverridesIsKept) {
  auto store = LoadViews("both_views.reg");
  // HKEY_LOCAL_MACHINE\Software\Classes holds the machine's version of each
  // registration the user's classes override, in each view, and nothing else.
  auto machine = [&](TextView path, TextView name = u"") {
    const MemoryStore::Node* node = store->Find(RootKey::LocalMachine, Text(u"Software\\Classes\\") + Text(path));
    if (node == nullptr) return Text(u"(missing)");
    const auto* value = const_cast<MemoryStore::Node*>(node)->FindValue(name);
    return value == nullptr ? Text(u"(no value)") : Text(reinterpret_cast<const char16_t*>(value->data.data()));
  };
  EXPECT_EQ(machine(u"CLSID\\" + kUser), u"Machine 64");
  EXPECT_EQ(machine(u"Wow6432Node\\CLSID\\" + kUser), u"Machine 32");
  EXPECT_EQ(machine(u"Wow6432Node\\CLSID\\" + kUser, u"MachineOnly"), u"kept");
  EXPECT_EQ(machine(u"Wow6432Node\\CLSID\\" + kUserOnly32), u"(missing)");
  EXPECT_EQ(machine(u"CLSID\\" + kOnly64), u"(missing)");
  EXPECT_EQ(Subkeys(*store, k64, u"CLSID").size(), 3u);  // the composed view is as before
}

TEST(ClassesView, WithoutWow6432NodeThe32BitViewHoldsTheSharedKeysOnly) {
  auto store = LoadViews("no_wow64_node.reg");
  EXPECT_EQ(Subkeys(*store, k32, u"CLSID"), TextList{u"(not opened)"});
  EXPECT_EQ(Subkeys(*store, k32, u"Interface"), TextList{u"(not opened)"});
  EXPECT_EQ(Subkeys(*store, k32, u"AppID"), TextList{u"{B4A22120-0000-4000-8000-000000000020}"});
  EXPECT_EQ(Subkeys(*store, k32, u""), (TextList{u"AppID", u"TypeLib"}));
  EXPECT_EQ(Subkeys(*store, k64, u"CLSID"), TextList{kOnly64});
  EXPECT_EQ(store->MachineView(), k64);
}

TEST(ClassesView, TheMachinesOtherNameForIts32BitClassesIsRead) {
  auto store = LoadViews("wow64_classes_alias.reg");
  EXPECT_EQ(Subkeys(*store, k32, u"CLSID"), (TextList{kOnly32, kBoth}));
  EXPECT_EQ(Subkeys(*store, k64, u"CLSID"), TextList{kBoth});
}

TEST(ClassesView, TheRedirectedListIsTheOneSinceWindows7) {
  for (TextView name : {u"CLSID", u"clsid", u"Interface", u"DirectShow", u"Media Type", u"MediaFoundation"})
    EXPECT_TRUE(IsRedirectedClassesKey(name)) << Utf16ToUtf8(name);
  for (TextView name : {u"AppID", u"TypeLib", u"Wow6432Node", u".txt", u"CLSIDX", u"Media", u""})
    EXPECT_FALSE(IsRedirectedClassesKey(name)) << Utf16ToUtf8(name);
}

TEST(ClassesView, AWinePrefixOf32BitWindowsHasOneView) {
  const std::string system32 =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
      "[Software\\\\Classes\\\\CLSID\\\\{B4A22102-0000-4000-8000-000000000002}] 1700000000\n@=\"Only in 32\"\n";
  MemoryStore store;
  ParseWineRegistry(system32, u"system.reg", WineHive::Machine, store);
  BuildClassesRoot(store);
  EXPECT_EQ(store.MachineView(), k32);
  EXPECT_FALSE(store.HasView(k64));
  // Both flags read the one tree, as 32-bit Windows ignores them.
  EXPECT_EQ(Subkeys(store, k32, u"CLSID"), TextList{kOnly32});
  EXPECT_EQ(Subkeys(store, k64, u"CLSID"), TextList{kOnly32});

  const std::string system64 =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
      "[Software\\\\Classes\\\\Wow6432Node\\\\CLSID\\\\{B4A22102-0000-4000-8000-000000000002}] 1700000000\n"
      "#arch=win32\n@=\"Only in 32\"\n";
  MemoryStore both;
  ParseWineRegistry(system64, u"system.reg", WineHive::Machine, both);
  BuildClassesRoot(both);
  EXPECT_EQ(both.MachineView(), k64);  // an option line inside a key says nothing of the prefix
  EXPECT_TRUE(both.HasView(k64));
  EXPECT_EQ(Subkeys(both, k32, u"CLSID"), TextList{kOnly32});
  EXPECT_EQ(Subkeys(both, k64, u"CLSID"), TextList{u"(not opened)"});
}

TEST(ClassesView, TheViewedRegistryPutsItsFlagOnEveryOpen) {
  auto store = LoadViews("both_views.reg");
  ViewedRegistry viewed(*store, k64);
  // A caller's own view flag does not reach the other view.
  EXPECT_EQ(viewed.Open(CR, u"CLSID\\" + kOnly32, Access::KeyRead | Access::Wow64_32Key), nullptr);
  viewed.SetView(k32);
  EXPECT_NE(viewed.Open(CR, u"CLSID\\" + kOnly32, Access::KeyRead | Access::Wow64_64Key), nullptr);
  EXPECT_EQ(viewed.Open(CR, u"CLSID\\" + kOnly64, Access::KeyRead), nullptr);
  EXPECT_EQ(viewed.MachineView(), k64);
  EXPECT_FALSE(viewed.RunsUnderWow64());
}

TEST(ClassesView, ARealExportWithBothSpellingsOfWow6432Node) {
  const std::filesystem::path real = std::filesystem::path(BRANNOCK_TEST_DATA) /
                                     "../../../shared/fixtures/real/registry/reg/wrl_dvc_register_for_64_bit_windows.reg";
  if (!std::filesystem::exists(real)) GTEST_SKIP() << "no real fixtures at " << real;
  MemoryStore store;
  LoadRegFile(real, store);
  // Three classes registered for both kinds of program (below Wow6432Node
  // and WOW6432Node alike), each view with its own server.
  const TextList classes = Subkeys(store, k32, u"CLSID");
  ASSERT_EQ(classes.size(), 3u);
  EXPECT_EQ(Subkeys(store, k64, u"CLSID"), classes);
  for (const Text& clsid : classes) {
    const Text server = u"CLSID\\" + clsid + u"\\InprocServer32";
    EXPECT_EQ(ValueText(store, k32, server).find(u"\\x64\\"), Text::npos) << Utf16ToUtf8(clsid);
    EXPECT_NE(ValueText(store, k64, server).find(u"\\x64\\"), Text::npos) << Utf16ToUtf8(clsid);
  }
  EXPECT_EQ(Subkeys(store, k32, u"AppID"), Subkeys(store, k64, u"AppID"));
}
