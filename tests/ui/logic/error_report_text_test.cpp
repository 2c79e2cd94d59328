#include "ui/logic/error_report_text.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "ui/logic/locale_rules.h"

namespace brannock::ui {
namespace {

std::exception_ptr Nested(Text outer, Text inner) {
  try {
    try {
      throw Error(std::move(inner));
    } catch (...) {
      std::throw_with_nested(Error(std::move(outer)));
    }
  } catch (...) {
    return std::current_exception();
  }
}

TEST(ErrorReportText, FullStopRuleInnermostMessageAndSilentAbort) {
  EXPECT_EQ(WithFullStop(u"Cannot open"), u"Cannot open.");
  EXPECT_EQ(WithFullStop(u"Error 5"), u"Error 5.");
  EXPECT_EQ(WithFullStop(u"Invalid data type for 'Big'"), u"Invalid data type for 'Big'");
  EXPECT_EQ(WithFullStop(u"Done."), u"Done.");
  EXPECT_EQ(WithFullStop(u"(x)"), u"(x)");
  EXPECT_EQ(WithFullStop(u"trailing "), u"trailing ");
  EXPECT_EQ(WithFullStop(u"slash/"), u"slash/.");  // '/' is 47, above the full stop
  EXPECT_EQ(WithFullStop(u""), u"");

  EXPECT_EQ(ErrorReportText(std::make_exception_ptr(Error(u"Bad"))), u"Bad.");
  EXPECT_EQ(ErrorReportText(Nested(u"Outer", u"Inner cause")), u"Inner cause.");
  EXPECT_EQ(ErrorReportText(Nested(u"Outer", u"")), u"Outer.");
  EXPECT_EQ(ErrorReportText(std::make_exception_ptr(std::runtime_error("std failure"))), u"std failure.");
  EXPECT_EQ(ErrorReportText(std::make_exception_ptr(SilentAbort())), std::nullopt);
  EXPECT_EQ(ErrorReportText(std::make_exception_ptr(42)), u"Unknown error.");
  try {
    try {
      throw 42;
    } catch (...) {
      std::throw_with_nested(Error(u"Outer"));
    }
  } catch (...) {
    EXPECT_EQ(ErrorReportText(std::current_exception()), u"Outer.");
  }
}

TEST(LocaleRules, SlovakDateRule) {
  EXPECT_EQ(ApplySlovakDateRule(1051, {u"", u"d/M/yy"}).shortFormat, u"d.M.yyyy");
  EXPECT_EQ(ApplySlovakDateRule(1051, {u"", u"d/M/yy"}).separator, u".");
  EXPECT_EQ(ApplySlovakDateRule(1051, {u"-", u"d-M-yy"}).shortFormat, u"d-M-yy");
  EXPECT_EQ(ApplySlovakDateRule(1033, {u"", u"M/d/yy"}).shortFormat, u"M/d/yy");
}

}  // namespace
}  // namespace brannock::ui
