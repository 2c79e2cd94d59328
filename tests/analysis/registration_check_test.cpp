// The registration check on a machine with planted faults
// (tests/data/analysis/check_machine.reg) whose C: drive is a folder of the
// test, and on an export of HKEY_CLASSES_ROOT that lacks what some checks
// need.
#include <gtest/gtest.h>

#include <fstream>

#include "analysis/registration_check.h"
#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/viewed_registry.h"
#include "support/test_files.h"

using namespace brannock;
using namespace brannock::analysis;

namespace {

const std::filesystem::path kData = std::filesystem::path(BRANNOCK_TEST_DATA) / "analysis";

Text C(int n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "{C%07X-0000-4000-8000-000000000000}", n);
  return Utf8ToUtf16(buf);
}

// The machine's C: drive with the files its registrations name, less the
// ones that are gone.
std::filesystem::path MakeDrive() {
  const std::filesystem::path drive = brannock::testing::FreshTestDir("check-drive");
  for (const char* file : {"windows/system32/good.dll", "windows/system32/good.tlb", "windows/system32/ole32.dll",
                           "windows/syswow64/good.tlb", "Users/Public/evil.dll", "Users/me/AppData/Local/x.dll",
                           "Users/me/AppData/Local/only.dll", "ProgramData/Vendor/shared.dll"}) {
    std::filesystem::create_directories((drive / file).parent_path());
    std::ofstream(drive / file) << "x";
  }
  return drive;
}

struct Checked {
  TextList lines;
  int exitStatus;
};

Checked Check(registry::MemoryStore& store, const std::filesystem::path& drive) {
  registry::ViewedRegistry viewed(store, registry::RegistryView::Bits64);
  Catalogue catalogue(viewed);
  typelib::PathMapper mapper;
  if (!drive.empty()) mapper.AddDrive(u'C', drive);
  MachineFiles files(mapper, false, u"C:\\windows\\system32", u"C:\\windows");
  const Findings findings = CheckRegistrations(catalogue, store, registry::RegistryView::Bits64, files, {}, nullptr);
  Checked out{{}, CheckExitStatus(findings)};
  for (const Finding& f : findings) out.lines.push_back(FindingLine(f));
  return out;
}

}  // namespace

TEST(RegistrationCheck, PlantedFaultsOfAWholeMachine) {
  registry::MemoryStore store;
  registry::LoadRegFile(kData / "check_machine.reg", store);
  const std::filesystem::path drive = MakeDrive();
  const Checked checked = Check(store, drive);
  std::filesystem::remove_all(drive);
  const Text hkcr = u"HKEY_CLASSES_ROOT\\";
  const Text lib1 = u"{D0000001-0000-4000-8000-000000000000}";
  const TextList expected = {
      u"error: class Missing Server " + C(2) + u" " + hkcr + u"CLSID\\" + C(2) +
          u"\\LocalServer32: LocalServer32 C:\\Program Files\\Gone\\gone.exe does not exist",
      u"error: class Treat Missing " + C(4) + u" " + hkcr + u"CLSID\\" + C(4) + u"\\TreatAs: TreatAs names the class " +
          C(0xFF) + u", which is not registered",
      u"error: class Treat Loop A " + C(5) + u" " + hkcr + u"CLSID\\" + C(5) + u"\\TreatAs: TreatAs loops: " + C(5) +
          u" -> " + C(6) + u" -> " + C(5),
      u"error: class Treat Loop B " + C(6) + u" " + hkcr + u"CLSID\\" + C(6) + u"\\TreatAs: TreatAs loops: " + C(6) +
          u" -> " + C(5) + u" -> " + C(6),
      u"error: class Bare Names " + C(10) + u" " + hkcr + u"CLSID\\" + C(10) +
          u"\\InprocServer32: InprocServer32 missing_bare.dll is in neither C:\\windows\\system32 nor C:\\windows",
      u"error: ProgID Dangling.CurVer " + hkcr + u"Dangling.CurVer\\CurVer: CurVer names Nowhere.1, which is not registered",
      u"error: ProgID Loop.A " + hkcr + u"Loop.A\\CurVer: CurVer loops: Loop.A -> Loop.B -> Loop.A",
      u"error: ProgID Loop.B " + hkcr + u"Loop.B\\CurVer: CurVer loops: Loop.B -> Loop.A -> Loop.B",
      u"error: ProgID Orphan.ProgID " + C(0xFE) + u" " + hkcr + u"Orphan.ProgID\\CLSID: names the class " + C(0xFE) +
          u", which is not registered",
      u"error: type library Gone Lib {D0000002-0000-4000-8000-000000000000} " + hkcr +
          u"TypeLib\\{D0000002-0000-4000-8000-000000000000}\\1.0\\0\\win64: the library's file "
          u"C:\\windows\\system32\\gone.tlb does not exist",
      u"error: AppID Good AppID {A0000001-0000-4000-8000-000000000000} " + hkcr +
          u"AppID\\{A0000001-0000-4000-8000-000000000000}: AccessPermission: Damaged security descriptor (byte 20): "
          u"the DACL claims 64 bytes, beyond the 48 of the value",
      u"error: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole: MachineAccessRestriction: Damaged security descriptor "
      u"(byte 0): the value has 12 bytes, fewer than the 20 of a descriptor's header",
      u"warning: class Writable " + C(3) + u" " + hkcr + u"CLSID\\" + C(3) +
          u"\\InprocServer32: a machine-wide class served from C:\\Users\\Public\\evil.dll, a place any user may write",
      u"warning: class Bad AppID " + C(7) + u" " + hkcr + u"CLSID\\" + C(7) + u": the AppID " +
          u"{A00000FF-0000-4000-8000-000000000000} it names has no key below AppID",
      u"warning: class Scriptlet " + C(8) + u" " + hkcr + u"CLSID\\" + C(8) +
          u"\\ScriptletURL: served by the scriptlet http://example.invalid/x.sct",
      u"warning: class User Override " + C(9) + u" HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" + C(9) +
          u"\\InprocServer32: a machine-wide class served from C:\\ProgramData\\Vendor\\shared.dll, a place any user may write",
      u"warning: class User Override " + C(9) + u" HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\" + C(9) +
          u": a per-user class overrides the machine's class of the same CLSID",
      u"warning: ProgID NoBack.ProgID " + C(2) + u" " + hkcr +
          u"NoBack.ProgID\\CLSID: its class does not name it back (the class names no ProgID)",
      u"warning: interface INoProxy {E0000002-0000-4000-8000-000000000000} " + hkcr +
          u"Interface\\{E0000002-0000-4000-8000-000000000000}\\ProxyStubClsid32: its proxy/stub class " + C(0xFD) +
          u" is not registered",
      u"warning: interface INoLib {E0000003-0000-4000-8000-000000000000} " + hkcr +
          u"Interface\\{E0000003-0000-4000-8000-000000000000}\\TypeLib: its type library "
          u"{D00000FF-0000-4000-8000-000000000000} is not registered",
      u"warning: interface IWrongVersion {E0000004-0000-4000-8000-000000000000} " + hkcr +
          u"Interface\\{E0000004-0000-4000-8000-000000000000}\\TypeLib: version 2.0 of its type library " + lib1 +
          u" is not registered",
      u"note: class User Only " + C(16) + u" HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\" + C(16) +
          u"\\InprocServer32: a per-user-only server: C:\\Users\\me\\AppData\\Local\\only.dll",
      u"note: files on D: were not checked: no drive maps them (--drive LETTER=DIR)",
  };
  EXPECT_EQ(checked.lines.size(), expected.size());
  for (size_t i = 0; i < std::max(expected.size(), checked.lines.size()); ++i)
    EXPECT_EQ(Utf16ToUtf8(i < checked.lines.size() ? checked.lines[i] : u"(none)"),
              Utf16ToUtf8(i < expected.size() ? expected[i] : u"(none)"))
        << i;
  EXPECT_EQ(checked.exitStatus, 3);
}

TEST(RegistrationCheck, AnExportOfTheClassesSaysWhatItCannotCheck) {
  // The same classes as a source that has only HKEY_CLASSES_ROOT and no
  // drives: the file, per-user and permission checks are not made, and
  // nothing they would have found is called missing.
  registry::MemoryStore whole;
  registry::LoadRegFile(kData / "check_machine.reg", whole);
  registry::MemoryStore classes;
  classes.Root(registry::RootKey::ClassesRoot).Children().swap(whole.Root(registry::RootKey::ClassesRoot).Children());
  const Checked checked = Check(classes, {});
  for (const Text& line : checked.lines) {
    EXPECT_EQ(line.find(u"does not exist"), Text::npos) << Utf16ToUtf8(line);
    EXPECT_EQ(line.find(u"per-user class overrides"), Text::npos) << Utf16ToUtf8(line);
    EXPECT_EQ(line.find(u"a machine-wide class served from"), Text::npos) << Utf16ToUtf8(line);
  }
  const TextList notes(checked.lines.end() - 3, checked.lines.end());
  EXPECT_EQ(notes, (TextList{
                       u"note: server and library files were not checked: the source has no drives (map them with "
                       u"--drive LETTER=DIR)",
                       u"note: per-user classes and machine-wide servers in places any user may write were not checked: "
                       u"the source does not tell the machine's classes from the user's (an export of "
                       u"HKEY_CLASSES_ROOT has no such split)",
                       u"note: the machine's COM permissions were not checked: the source has no "
                       u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole"}));
  // The registry's own faults are still found.
  EXPECT_NE(std::find_if(checked.lines.begin(), checked.lines.end(),
                         [](const Text& l) { return l.find(u"CurVer loops: Loop.A") != Text::npos; }),
            checked.lines.end());
}

TEST(RegistrationCheck, LinesCsvAndExitStatus) {
  Finding f{Severity::Warning, FindingKind::ProgID, u"A;B", u"{X}", u"HKEY_CLASSES_ROOT\\A;B\\CLSID",
            u"say \"hi\"", std::nullopt};
  EXPECT_EQ(FindingCsvLine(f), u"warning;ProgID;\"A;B\";{X};\"HKEY_CLASSES_ROOT\\A;B\\CLSID\";\"say \"\"hi\"\"\"");
  EXPECT_EQ(FindingCsvHeader(), u"severity;kind;name;GUID;key path;reason");
  const Finding note{Severity::Note, FindingKind::Machine, {}, {}, {}, u"not made", {}};
  EXPECT_EQ(FindingLine(note), u"note: not made");
  // An object named by its GUID is named once.
  const Finding unnamed{Severity::Error, FindingKind::AppID, u"{A}", u"{A}", u"HKEY_CLASSES_ROOT\\AppID\\{A}",
                        u"damaged", std::nullopt};
  EXPECT_EQ(FindingLine(unnamed), u"error: AppID {A} HKEY_CLASSES_ROOT\\AppID\\{A}: damaged");
  EXPECT_EQ(CheckExitStatus({note}), 0);
  EXPECT_EQ(CheckExitStatus({note, f}), 3);
  EXPECT_EQ(CheckExitStatus({}), 0);
}
