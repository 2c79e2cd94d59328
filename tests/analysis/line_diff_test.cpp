#include "analysis/line_diff.h"

#include <gtest/gtest.h>

namespace brannock::analysis {
namespace {

RegLine Line(int level, TextView text) { return RegLine{Text(text), -1, level}; }

// "<mark><indent><text>" per line, the way a unified diff reads.
std::vector<Text> Shown(const std::vector<DiffLine>& lines) {
  std::vector<Text> out;
  for (const DiffLine& d : lines) {
    const char16_t mark = d.mark == LineMark::Same ? u' ' : d.mark == LineMark::Removed ? u'-' : u'+';
    out.push_back(Text(1, mark) + Text(static_cast<size_t>(d.line.level) * 2, u' ') + d.line.text);
  }
  return out;
}

TEST(LineDiff, KeepsCommonLinesAndMarksTheRest) {
  const std::vector<RegLine> before{Line(0, u"CLSID"), Line(1, u"{C} = Foo"), Line(2, u"InprocServer32 = a.dll"),
                                    Line(2, u"InprocServer32[ThreadingModel] = Both"), Line(2, u"Old = ")};
  const std::vector<RegLine> now{Line(0, u"CLSID"), Line(1, u"{C} = Foo"), Line(2, u"InprocServer32 = b.dll"),
                                 Line(2, u"InprocServer32[ThreadingModel] = Both"), Line(0, u"AppID"),
                                 Line(1, u"{A} = App")};
  const auto diff = DiffLines(before, now);
  EXPECT_EQ(Shown(diff), (std::vector<Text>{u" CLSID", u"   {C} = Foo", u"-    InprocServer32 = a.dll",
                                            u"+    InprocServer32 = b.dll",
                                            u"     InprocServer32[ThreadingModel] = Both", u"-    Old = ",
                                            u"+AppID", u"+  {A} = App"}));
  EXPECT_TRUE(HasChanges(diff));
  // Each line hangs under the nearest line one level up before it.
  EXPECT_EQ(diff[1].line.parent, 0);
  EXPECT_EQ(diff[3].line.parent, 1);
  EXPECT_EQ(diff[6].line.parent, -1);
  EXPECT_EQ(diff[7].line.parent, 6);

  const auto same = DiffLines(before, before);
  EXPECT_FALSE(HasChanges(same));
  EXPECT_EQ(same.size(), before.size());
  // The same text on another level is another line.
  EXPECT_EQ(Shown(DiffLines({Line(1, u"X = ")}, {Line(2, u"X = ")})), (std::vector<Text>{u"-  X = ", u"+    X = "}));

  const auto added = MarkAll(now, LineMark::Added);
  EXPECT_EQ(added.size(), now.size());
  EXPECT_EQ(added[5].line.parent, 4);
  EXPECT_EQ(DiffLines({}, {}).size(), 0u);
}

TEST(LineDiff, AStretchTooLongToSearchIsShownRemovedThenAdded) {
  std::vector<RegLine> before;
  std::vector<RegLine> now;
  before.push_back(Line(0, u"first"));
  now.push_back(Line(0, u"first"));
  for (int i = 0; i < 2100; ++i) {
    before.push_back(Line(1, u"b" + IntToText(i)));
    now.push_back(Line(1, u"n" + IntToText(i)));
  }
  before.push_back(Line(1, u"shared"));  // common, but inside a stretch too long to search
  now.insert(now.begin() + 1000, Line(1, u"shared"));
  before.push_back(Line(0, u"last"));
  now.push_back(Line(0, u"last"));
  const auto diff = DiffLines(before, now);
  ASSERT_EQ(diff.size(), before.size() + now.size() - 2);
  EXPECT_EQ(diff.front().mark, LineMark::Same);
  EXPECT_EQ(diff.back().mark, LineMark::Same);
  for (size_t i = 1; i <= 2101; ++i) EXPECT_EQ(diff[i].mark, LineMark::Removed) << i;
  for (size_t i = 2102; i + 1 < diff.size(); ++i) EXPECT_EQ(diff[i].mark, LineMark::Added) << i;
}

}  // namespace
}  // namespace brannock::analysis
