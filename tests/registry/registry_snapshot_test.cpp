#include "registry/registry_snapshot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/files.h"
#include "registry/key_tree_copy.h"
#include "registry_files_support.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

namespace {


std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("brannock-snap-" + std::to_string(::getpid()) + "-" + name);
}

MemoryStore& StoreOf(RegistrySource& source) { return static_cast<MemoryStore&>(*source.backend); }

// The snapshot of `source` read back as a source of its own (from a file
// that the caller removes).
RegistrySource SnapshotReadBack(const RegistrySource& source, const std::filesystem::path& file) {
  SaveSnapshot(file, source);
  return OpenRegistryPath(file);
}

}  // namespace

TEST(RegistrySnapshot, KeepsTheMachinesAndTheUsersClassesApartAndComposesAsItsSource) {
  RegistrySource prefix = OpenRegistryPath(BRANNOCK_TEST_DATA "/registry/wine_prefix");
  auto snapshot = ReadSnapshot(prefix);
  // system.reg gives the machine's classes, user.reg the user's.
  EXPECT_EQ(StringValue(*snapshot, LM, u"Software\\Classes\\CLSID\\{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}", u""),
            u"Machine name");
  EXPECT_EQ(StringValue(*snapshot, CU, u"Software\\Classes\\CLSID\\{0F3A1C2D-0001-4D5E-8F90-A1B2C3D4E5F6}", u""),
            u"User name");
  EXPECT_EQ(snapshot->Find(LM, u"Software\\Classes\\CLSID\\{0F3A1C2D-0003-4D5E-8F90-A1B2C3D4E5F6}"), nullptr);
  // Wine's link keys are kept as stored.
  const auto* link = FindValue(*snapshot, LM, u"Software\\Classes\\Wow6432Node\\CLSID", u"SymbolicLinkValue");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->type, RegType::Link);

  // Written and read again: the same classes root, and the same two parts.
  const auto file = TempFile("prefix.reg");
  RegistrySource back = SnapshotReadBack(prefix, file);
  EXPECT_EQ(DumpTree(StoreOf(back).Root(CR)), DumpTree(StoreOf(prefix).Root(CR)));
  auto again = ReadSnapshot(back);
  for (const ExportKey& key : SnapshotKeys()) {
    const MemoryStore::Node* a = snapshot->Find(key.root, key.path);
    const MemoryStore::Node* b = again->Find(key.root, key.path);
    ASSERT_EQ(a == nullptr, b == nullptr) << Utf16ToUtf8(key.path);
    if (a != nullptr) {
      EXPECT_EQ(DumpTree(*a), DumpTree(*b));
    }
  }
  std::filesystem::remove(file);

  // The demo registry (keys below HKEY_CLASSES_ROOT only) likewise.
  RegistrySource demo = OpenDemoRegistry();
  RegistrySource demoBack = SnapshotReadBack(demo, file);
  EXPECT_EQ(DumpTree(StoreOf(demoBack).Root(CR)), DumpTree(StoreOf(demo).Root(CR)));
  std::filesystem::remove(file);
}

TEST(RegistrySnapshot, AnExportsClassesRootIsLaidOverTheMachinesClasses) {
  const auto file = TempFile("export.reg");
  platform::WriteFileAtomically(
      file, Utf16LeFile(u"Windows Registry Editor Version 5.00\r\n\r\n"
                        u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C1}]\r\n@=\"machine\"\r\n\"Kept\"=\"k\"\r\n\r\n"
                        u"[HKEY_CLASSES_ROOT\\CLSID\\{C1}]\r\n@=\"merged view\"\r\n\r\n"
                        u"[HKEY_CLASSES_ROOT\\Interface\\{I1}]\r\n@=\"IOne\"\r\n\r\n"
                        u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Classes\\CLSID\\{C32}]\r\n@=\"32\"\r\n\r\n"
                        u"[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{U1}]\r\n@=\"user\"\r\n\r\n"
                        u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole]\r\n\"EnableDCOM\"=\"Y\"\r\n\r\n"
                        u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"Other\"=\"not a COM key\"\r\n\r\n"));
  RegistrySource source = OpenRegistryPath(file);
  auto snapshot = ReadSnapshot(source);
  const TextView classes = u"SOFTWARE\\Classes";
  EXPECT_EQ(StringValue(*snapshot, LM, Text(classes) + u"\\CLSID\\{C1}", u""), u"merged view");
  EXPECT_EQ(StringValue(*snapshot, LM, Text(classes) + u"\\CLSID\\{C1}", u"Kept"), u"k");
  EXPECT_EQ(StringValue(*snapshot, LM, Text(classes) + u"\\Interface\\{I1}", u""), u"IOne");
  EXPECT_EQ(StringValue(*snapshot, LM, Text(classes) + u"\\Wow6432Node\\CLSID\\{C32}", u""), u"32");
  EXPECT_EQ(snapshot->Find(CR, u"CLSID"), nullptr);

  // One header, the three keys in order, as the source spells them; nothing
  // else of the machine.
  const Text text = RegFileText(*snapshot, SnapshotKeys());
  const size_t machine = text.find(u"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\r\n");
  const size_t user = text.find(u"\r\n[HKEY_CURRENT_USER\\Software\\Classes]\r\n");
  const size_t ole = text.find(u"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole]\r\n\"EnableDCOM\"=\"Y\"\r\n");
  EXPECT_EQ(text.rfind(u"Windows Registry Editor Version 5.00\r\n\r\n[", 0), 0u);
  ASSERT_NE(machine, Text::npos);
  ASSERT_NE(user, Text::npos);
  ASSERT_NE(ole, Text::npos);
  EXPECT_LT(machine, user);
  EXPECT_LT(user, ole);
  EXPECT_EQ(text.find(u"Vendor"), Text::npos);

  const auto backFile = TempFile("export-back.reg");
  RegistrySource back = SnapshotReadBack(source, backFile);
  EXPECT_EQ(DumpTree(StoreOf(back).Root(CR)), DumpTree(StoreOf(source).Root(CR)));
  std::filesystem::remove(backFile);
  std::filesystem::remove(file);
}

TEST(RegistrySnapshot, TheLiveRegistryIsCopiedKeyByKeyAsItSpellsIt) {
  auto live = std::make_unique<MemoryStore>();
  live->SetString(LM, u"SOFTWARE\\Classes\\CLSID\\{C1}", u"", u"class");
  live->SetBytes(LM, u"SOFTWARE\\Classes\\CLSID\\{C1}", u"Raw", 0x9B, {1, 2, 3});
  live->SetString(LM, u"SOFTWARE\\Classes\\CLSID\\{C1}\\InprocServer32", u"", u"%SystemRoot%\\x.dll",
                  RegType::ExpandSz);
  live->CreatePath(LM, u"SOFTWARE\\Classes\\Empty");
  live->SetString(LM, u"SOFTWARE\\Microsoft\\Ole", u"EnableDCOM", u"Y");
  live->SetString(LM, u"SOFTWARE\\Vendor", u"x", u"y");
  Text deep = u"SOFTWARE\\Classes\\Deep";
  for (int i = 0; i < kMaxKeyDepth; ++i) deep += u"\\k";
  live->CreatePath(LM, deep);
  RegistrySource source;
  source.kind = RegistrySource::Kind::Live;
  MemoryStore& original = *live;
  source.backend = std::move(live);

  auto snapshot = ReadSnapshot(source);
  EXPECT_EQ(DumpTree(*snapshot->Find(LM, u"SOFTWARE\\Classes\\CLSID")),
            DumpTree(*original.Find(LM, u"SOFTWARE\\Classes\\CLSID")));
  EXPECT_NE(snapshot->Find(LM, u"SOFTWARE\\Classes\\Empty"), nullptr);
  EXPECT_EQ(snapshot->Find(LM, u"SOFTWARE\\Vendor"), nullptr);
  EXPECT_EQ(snapshot->Find(CU, u"Software\\Classes"), nullptr);  // the source has no user part
  // Keys stop at the registry's depth limit.
  const MemoryStore::Node* node = snapshot->Find(LM, u"SOFTWARE\\Classes\\Deep");
  int depth = 3;
  while (node != nullptr && !node->Children().empty()) {
    node = node->Children().begin()->second.get();
    ++depth;
  }
  EXPECT_EQ(depth, kMaxKeyDepth);
  const Text text = RegFileText(*snapshot, SnapshotKeys());
  EXPECT_NE(text.find(u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C1}\\InprocServer32]\r\n@=hex(2):"), Text::npos);

  MemoryStore into;
  EXPECT_FALSE(CopyKeyTree(original, LM, u"Software\\Missing", Access::KeyRead, into));
  EXPECT_EQ(into.Find(LM, u"Software"), nullptr);
}
