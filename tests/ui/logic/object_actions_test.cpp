// The registration tool's command lines and the instance helper's report.
#include <gtest/gtest.h>

#include "ui/logic/object_actions.h"

namespace brannock::ui {
namespace {

TEST(RegistrationCommand, QuotesTheServerAndRunsWhereTheSourceLives) {
  const ToolHost windows{ToolHost::Kind::Native, {}};
  auto reg = RegistrationCommand(windows, u"C:\\Lib\\x.dll", false);
  ASSERT_TRUE(reg);
  EXPECT_EQ(reg->executable, u"regsvr32");
  EXPECT_EQ(reg->parameters, u"\"C:\\Lib\\x.dll\"");
  EXPECT_EQ(reg->showMode, 10);
  EXPECT_TRUE(reg->launcher.empty());
  EXPECT_TRUE(reg->environment.empty());
  auto unreg = RegistrationCommand(windows, u"C:\\Lib\\x.dll", true);
  ASSERT_TRUE(unreg);
  EXPECT_EQ(unreg->parameters, u"/u \"C:\\Lib\\x.dll\"");

  // A server value with arguments after the path is quoted whole, blanks
  // and all.
  EXPECT_EQ(RegistrationCommand(windows, u"C:\\Program Files\\App\\app.exe /automation", false)->parameters,
            u"\"C:\\Program Files\\App\\app.exe /automation\"");
  EXPECT_EQ(RegistrationParameters(u"a b", true), u"/u \"a b\"");

  // In a Wine prefix the tool runs through wine with the prefix set.
  const ToolHost wine{ToolHost::Kind::Wine, "/home/u/.wine"};
  auto inPrefix = RegistrationCommand(wine, u"C:\\windows\\system32\\x.dll", true);
  ASSERT_TRUE(inPrefix);
  EXPECT_EQ(inPrefix->launcher, TextList{u"wine"});
  EXPECT_EQ(inPrefix->environment, TextList{u"WINEPREFIX=/home/u/.wine"});
  EXPECT_EQ(inPrefix->executable, u"regsvr32");
  EXPECT_EQ(inPrefix->parameters, u"/u \"C:\\windows\\system32\\x.dll\"");

  // A registration of the 32-bit view: the prefix's 32-bit regsvr32; on
  // Windows the one of SysWOW64 (checked under Wine by the window tests),
  // off Windows, where there is none, the name alone.
  const auto view32 = registry::RegistryView::Bits32;
  auto inPrefix32 = RegistrationCommand(wine, u"C:\\windows\\system32\\x.dll", false, view32);
  ASSERT_TRUE(inPrefix32);
  EXPECT_EQ(inPrefix32->executable, u"C:\\windows\\syswow64\\regsvr32.exe");
  EXPECT_EQ(inPrefix32->launcher, TextList{u"wine"});
  EXPECT_EQ(inPrefix32->parameters, u"\"C:\\windows\\system32\\x.dll\"");
  EXPECT_EQ(RegistrationCommand(wine, u"x.dll", false, registry::RegistryView::Bits64)->executable, u"regsvr32");
#ifndef _WIN32
  EXPECT_EQ(RegistrationCommand(windows, u"x.dll", true, view32)->executable, u"regsvr32");
#endif

  // No server, or no Windows to run it in: nothing to run.
  EXPECT_FALSE(RegistrationCommand(windows, u"", false));
  EXPECT_FALSE(RegistrationCommand(wine, u"", true));
  EXPECT_FALSE(RegistrationCommand(ToolHost{}, u"C:\\Lib\\x.dll", false));
}

TEST(ToolHostFor, OnlyTheLiveRegistryAndWinePrefixesHaveWindowsPrograms) {
  using Kind = registry::RegistrySource::Kind;
  EXPECT_EQ(ToolHostFor(Kind::Live, {}).kind, ToolHost::Kind::Native);
  const ToolHost wine = ToolHostFor(Kind::WinePrefix, "/p/prefix");
  EXPECT_EQ(wine.kind, ToolHost::Kind::Wine);
  EXPECT_EQ(wine.winePrefix, std::filesystem::path("/p/prefix"));
  for (Kind k : {Kind::RegFile, Kind::Hive, Kind::Demo}) {
    const ToolHost none = ToolHostFor(k, "/p/x.reg");
    EXPECT_EQ(none.kind, ToolHost::Kind::None);
    EXPECT_TRUE(none.winePrefix.empty());
  }
}

}  // namespace
}  // namespace brannock::ui
