#include "ui/logic/about_text.h"

#include <gtest/gtest.h>

#include "common/version.h"

namespace brannock::ui {
namespace {

TEST(AboutText, VersionLine) {
  platform::TVersionInfo info;
  info.Major = 1;
  info.Minor = 3;
  EXPECT_EQ(VersionLineText(info), u"Version 1.3.0.0");
  info.Release = 12;
  info.Build = 345;
  EXPECT_EQ(FileVersionText(info), u"1.3.12.345");
  info.PreRelease = true;
  EXPECT_EQ(FileVersionText(info), u"1.3.12.345 BETA 345");
  info.Build = 0;
  EXPECT_EQ(FileVersionText(info), u"1.3.12.0 BETA");
  EXPECT_EQ(VersionLineText(info), u"Version 1.3.12.0 BETA");
}

TEST(AboutText, DescriptionFallsBackToTheFileDescription) {
  platform::TVersionInfo info;
  info.FileDescription = u"Brannock";
  EXPECT_EQ(DescriptionText(info), u"Brannock");
  info.Comments = u"Browses COM registrations";
  EXPECT_EQ(DescriptionText(info), u"Browses COM registrations");
  info.Comments = u" ";  // not empty, so shown
  EXPECT_EQ(DescriptionText(info), u" ");
}

TEST(AboutText, LinksShowWithoutTheirScheme) {
  EXPECT_EQ(LinkDisplayText(kMakerEmail), u"brannock@example.org");
  EXPECT_EQ(LinkDisplayText(kMakerHomepage), u"brannock.example.org");
  EXPECT_EQ(LinkDisplayText(u"http://a.example/x"), u"a.example/x");
  EXPECT_EQ(LinkDisplayText(u"plain.example"), u"plain.example");
  EXPECT_EQ(LinkDisplayText(u"a b:c"), u"a b:c");
  EXPECT_EQ(LinkDisplayText(u":x"), u":x");
}

TEST(AboutText, ProgramVersionInformation) {
  // The build's version and the program's fixed strings.
  const platform::TVersionInfo info = platform::ReadVersionInfo();
  EXPECT_EQ(VersionLineText(info), u"Version " + Utf8ToUtf16(BRANNOCK_VERSION_TEXT));
  EXPECT_EQ(info.ProductName, u"Brannock");
  EXPECT_EQ(DescriptionText(info), u"Brannock");
  EXPECT_FALSE(info.LegalCopyright.empty());

  const platform::TVersionInfo partial = platform::BuildVersionInfo(u"2.x.7");
  EXPECT_EQ(FileVersionText(partial), u"2.0.7.0");
  EXPECT_EQ(FileVersionText(platform::BuildVersionInfo(u"70000.1.2.3")), u"0.1.2.3");
}

}  // namespace
}  // namespace brannock::ui
