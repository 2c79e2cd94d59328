#include "analysis/registry_comparison.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "registry/memory_store.h"
#include "support/root_keys.h"

namespace brannock::analysis {
namespace {

using registry::MemoryStore;
namespace RegType = registry::RegType;
using registry::RootKey;


// A registry with one of each kind: a class with its server, AppID and
// ProgID, an interface of a type library, the library and the AppID.
void FillSample(MemoryStore& s) {
  s.SetString(CR, u"CLSID\\{C1}", u"", u"Class One");
  s.SetString(CR, u"CLSID\\{C1}", u"AppID", u"{A1}");
  s.SetString(CR, u"CLSID\\{C1}\\InprocServer32", u"", u"%SystemRoot%\\one.dll", RegType::ExpandSz);
  s.SetString(CR, u"CLSID\\{C1}\\ProgID", u"", u"One.Class.1");
  s.SetString(CR, u"One.Class.1", u"", u"Class One");
  s.SetString(CR, u"One.Class.1\\CLSID", u"", u"{C1}");
  s.SetString(CR, u"CLSID\\{C2}", u"", u"Class Two");
  s.SetString(CR, u"CLSID\\{C2}\\LocalServer32", u"", u"C:\\two.exe");
  s.SetString(CR, u"CLSID\\{c4}", u"", u"Spelled");
  // A ProgID naming the whole collection (as the class moniker's does): the
  // collection's objects do not make this class change.
  s.SetString(CR, u"CLSID\\{C5}", u"", u"Moniker");
  s.SetString(CR, u"CLSID\\{C5}\\ProgID", u"", u"clsid");
  s.SetString(CR, u"Interface\\{I1}", u"", u"IOne");
  s.SetString(CR, u"Interface\\{I1}\\TypeLib", u"", u"{T1}");
  s.SetString(CR, u"TypeLib\\{T1}\\1.0", u"", u"One Library");
  s.SetString(CR, u"TypeLib\\{T1}\\1.0\\0\\win32", u"", u"C:\\one.tlb");
  s.SetString(CR, u"AppID\\{A1}", u"", u"One App");
}

std::vector<Text> Guids(const std::vector<ObjectDifference>& list) {
  std::vector<Text> out;
  for (const ObjectDifference& d : list) out.push_back(ObjectChangeName(d.change) + u" " + d.guid + u" " + d.name);
  return out;
}

// The marked lines, "-" or "+" before each, unchanged lines left out.
std::vector<Text> Marked(const ObjectDifference& d) {
  std::vector<Text> out;
  for (const DiffLine& l : d.lines) {
    if (l.mark == LineMark::Same) continue;
    out.push_back(Text(l.mark == LineMark::Removed ? u"-" : u"+") + l.line.text);
  }
  return out;
}

TEST(RegistryComparison, ListsAddedRemovedAndChangedObjectsWithTheirLines) {
  MemoryStore before;
  MemoryStore now;
  FillSample(before);
  FillSample(now);
  // Another machine's environment changes no REG_EXPAND_SZ text.
  before.SetWindowsEnvironment({u"SystemRoot=C:\\Windows"});
  now.SetWindowsEnvironment({u"SystemRoot=D:\\WINNT"});
  EXPECT_FALSE(CompareRegistries(before, now).Differs());

  now.SetString(CR, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Both");  // changed
  now.DeletePath(CR, u"CLSID\\{C2}");                                               // removed
  now.SetString(CR, u"CLSID\\{C3}", u"", u"Class Three");                           // added
  now.DeletePath(CR, u"CLSID\\{c4}");
  now.SetString(CR, u"CLSID\\{C4}", u"", u"Spelled");  // the same object, its key spelled anew
  // The library's file moved: the library and the interface that names it.
  now.SetString(CR, u"TypeLib\\{T1}\\1.0\\0\\win32", u"", u"C:\\new\\one.tlb");
  // The AppID's name: its own key, and the lines of the class naming it.
  now.SetString(CR, u"AppID\\{A1}", u"", u"One Application");

  const RegistryComparison result = CompareRegistries(before, now);
  EXPECT_EQ(Guids(result.Of(TObjectType::otCLSID)),
            (std::vector<Text>{u"added {C3} Class Three", u"removed {C2} Class Two", u"changed {C1} Class One",
                               u"changed {C4} Spelled"}));
  EXPECT_EQ(Guids(result.Of(TObjectType::otInterface)), (std::vector<Text>{u"changed {I1} IOne"}));
  EXPECT_EQ(Guids(result.Of(TObjectType::otTypeLib)), (std::vector<Text>{u"changed {T1} One Library"}));
  EXPECT_EQ(Guids(result.Of(TObjectType::otAppID)), (std::vector<Text>{u"changed {A1} One Application"}));
  EXPECT_EQ(result.counts.added, 1u);
  EXPECT_EQ(result.counts.removed, 1u);
  EXPECT_EQ(result.counts.changed, 5u);
  EXPECT_EQ(result.countsOf[static_cast<size_t>(TObjectType::otCLSID)].changed, 2u);

  const auto& classes = result.Of(TObjectType::otCLSID);
  EXPECT_EQ(Marked(classes[2]), (std::vector<Text>{u"+InprocServer32[ThreadingModel] = Both", u"-{A1} = One App",
                                                   u"+{A1} = One Application"}));
  // The raw text, not an expansion.
  EXPECT_EQ(classes[2].lines[3].line.text, u"InprocServer32 = %SystemRoot%\\one.dll");
  EXPECT_EQ(classes[2].lines[4].line.keyPath, u"CLSID\\{C1}\\InprocServer32");
  EXPECT_EQ(Marked(classes[0]), (std::vector<Text>{u"+CLSID", u"+{C3} = Class Three"}));
  EXPECT_EQ(Marked(classes[1]),
            (std::vector<Text>{u"-CLSID", u"-{C2} = Class Two", u"-LocalServer32 = C:\\two.exe"}));
  EXPECT_EQ(Marked(classes[3]), (std::vector<Text>{u"-{c4} = Spelled", u"+{C4} = Spelled"}));
  EXPECT_EQ(Marked(result.Of(TObjectType::otInterface)[0]),
            (std::vector<Text>{u"-win32 = C:\\one.tlb", u"+win32 = C:\\new\\one.tlb"}));
}

TEST(RegistryComparison, ComparesOneViewAndNamesRegistryErrorsInTheLines) {
  MemoryStore before;
  MemoryStore now;
  FillSample(before);
  FillSample(now);
  before.SetString(CR, u"Wow6432Node\\CLSID\\{C32}", u"", u"Thirty-two");
  now.SetString(CR, u"Wow6432Node\\CLSID\\{C32}", u"", u"Thirty-two");
  now.SetString(CR, u"Wow6432Node\\CLSID\\{C32}\\InprocServer32", u"", u"C:\\x86.dll");
  now.SetBytes(CR, u"Interface\\{I1}", u"Big", RegType::Binary, registry::Bytes(9000, 1));

  const RegistryComparison in32 = CompareInView(before, now, registry::RegistryView::Bits32);
  // The 32-bit view holds the 32-bit classes and the shared keys (AppID,
  // TypeLib); classes and interfaces of 64-bit programs are not in it.
  EXPECT_EQ(Guids(in32.Of(TObjectType::otCLSID)), (std::vector<Text>{u"changed {C32} Thirty-two"}));
  EXPECT_TRUE(in32.Of(TObjectType::otInterface).empty());
  EXPECT_EQ(in32.counts.Total(), 1u);

  const RegistryComparison in64 = CompareInView(before, now, registry::RegistryView::Bits64);
  // A registry of 32-bit Windows has no 64-bit view to compare in.
  MemoryStore only32;
  only32.SetMachineView(registry::RegistryView::Bits32);
  EXPECT_THROW(CompareInView(only32, now, registry::RegistryView::Bits64), brannock::Error);
  EXPECT_TRUE(in64.Of(TObjectType::otCLSID).empty());
  const auto& interfaces = in64.Of(TObjectType::otInterface);
  ASSERT_EQ(interfaces.size(), 1u);
  // The error ends the lines where it happened, as it ends the pane's.
  EXPECT_EQ(Marked(interfaces[0]),
            (std::vector<Text>{u"-TypeLib = {T1}", u"-TypeLib", u"-{T1} = ", u"-1.0 = One Library", u"-0 = ",
                               u"-win32 = C:\\one.tlb", u"+Error: Invalid data type for 'Big'"}));
}

}  // namespace
}  // namespace brannock::analysis
