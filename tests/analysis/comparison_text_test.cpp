#include "analysis/comparison_text.h"

#include <gtest/gtest.h>

namespace brannock::analysis {
namespace {

// A key line (value "") or value line of key `key`, with its text as the
// pane writes it.
DiffLine Value(LineMark mark, int level, TextView key, TextView value, TextView text) {
  const Text name = RegKeyName(key);
  Text head = value.empty() ? name + u" = " : name + u"[" + Text(value) + u"] = ";
  RegLine line{head + Text(text), -1, level, Text(key), Text(value), head.size()};
  return DiffLine{mark, line};
}

DiffLine PathLine(LineMark mark, TextView text) { return DiffLine{mark, RegLine{Text(text), -1, 0}}; }

RegistryComparison Sample() {
  constexpr auto S = LineMark::Same;
  constexpr auto R = LineMark::Removed;
  constexpr auto A = LineMark::Added;
  RegistryComparison c;
  auto& classes = c.collections[static_cast<size_t>(TObjectType::otCLSID)];
  classes.push_back({TObjectType::otCLSID, ObjectChange::Added, u"{C3}", u"Three",
                     {PathLine(A, u"CLSID"), Value(A, 1, u"CLSID\\{C3}", u"", u"Three"),
                      Value(A, 2, u"CLSID\\{C3}\\InprocServer32", u"", u"C:\\a;b \"q\".dll")}});
  std::vector<DiffLine> lines{PathLine(S, u"CLSID"), Value(S, 1, u"CLSID\\{C1}", u"", u"One")};
  for (int i = 0; i < 10; ++i) lines.push_back(Value(S, 2, u"CLSID\\{C1}\\K" + IntToText(i), u"", u""));
  lines.insert(lines.begin() + 3, Value(R, 2, u"CLSID\\{C1}\\Server", u"", u"old.dll"));
  lines.insert(lines.begin() + 4, Value(A, 2, u"CLSID\\{C1}\\Server", u"", u"new.dll"));
  lines.push_back(Value(A, 2, u"CLSID\\{C1}\\Server", u"Threading", u"Both"));
  lines.push_back(Value(R, 2, u"CLSID\\{C1}\\Moved", u"", u"same"));
  lines.push_back(Value(A, 3, u"CLSID\\{C1}\\Moved", u"", u"same"));
  classes.push_back({TObjectType::otCLSID, ObjectChange::Changed, u"{C1}", u"One", lines});
  auto& appids = c.collections[static_cast<size_t>(TObjectType::otAppID)];
  appids.push_back({TObjectType::otAppID, ObjectChange::Removed, u"{A1}", u"App",
                    {PathLine(R, u"AppID"), Value(R, 1, u"AppID\\{A1}", u"", u"App")}});
  c.counts = {1, 1, 1};
  return c;
}

TEST(ComparisonText, ReportGoesByRootsWithUnifiedHunks) {
  EXPECT_EQ(Text(ComparisonReport(Sample())),
            u"Object Classes\n"
            u"added   {C3} Three\n"
            u"changed {C1} One\n"
            u"@@ -1,7 +1,7 @@\n"
            u" CLSID\n"
            u"    {C1} = One\n"
            u"       K0 = \n"
            u"-      Server = old.dll\n"
            u"+      Server = new.dll\n"
            u"       K1 = \n"
            u"       K2 = \n"
            u"       K3 = \n"
            u"@@ -11,4 +11,5 @@\n"
            u"       K7 = \n"
            u"       K8 = \n"
            u"       K9 = \n"
            u"+      Server[Threading] = Both\n"
            u"-      Moved = same\n"
            u"+         Moved = same\n"
            u"Application IDs\n"
            u"removed {A1} App\n"
            u"1 added, 1 removed, 1 changed\n");
  EXPECT_EQ(ComparisonReport(RegistryComparison{}), u"0 added, 0 removed, 0 changed\n");
}

TEST(ComparisonText, CsvHasOneLinePerValueThatDiffers) {
  EXPECT_EQ(Text(ComparisonCsv(Sample())),
            u"collection;GUID;name;change;key path;before;now\n"
            u"Object Classes;{C3};Three;added;CLSID\\{C3};;Three\n"
            u"Object Classes;{C3};Three;added;CLSID\\{C3}\\InprocServer32;;\"C:\\a;b \"\"q\"\".dll\"\n"
            u"Object Classes;{C1};One;changed;CLSID\\{C1}\\Server;old.dll;new.dll\n"
            u"Object Classes;{C1};One;changed;CLSID\\{C1}\\Server[Threading];;Both\n"
            u"Application IDs;{A1};App;removed;AppID\\{A1};App;\n");
}

}  // namespace
}  // namespace brannock::analysis
