#include <gtest/gtest.h>

#include "app/cli/cli_options.h"

using namespace brannock;
using namespace brannock::cli;

namespace {

struct Parsed {
  bool ok;
  CliOptions options;
  std::string error;
};

Parsed Parse(std::vector<std::string> args) {
  Parsed p;
  p.ok = ParseCliOptions(args, p.options, p.error);
  return p;
}

}  // namespace

TEST(ParseCliOptions, BatchSwitchesAsTheWindowProgramTakesThem) {
  Parsed p = Parse({"-sa", "/SI"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.options.switches.SA && p.options.switches.SI && !p.options.switches.SO && !p.options.switches.ST);
  EXPECT_FALSE(p.options.HasRender());
  EXPECT_FALSE(p.options.registryPath || p.options.outDir || p.options.help || p.options.version);

  p = Parse({"/ST", "", "-So", "/st"});
  ASSERT_TRUE(p.ok) << p.error;  // empty arguments are ignored, repeats are harmless
  EXPECT_TRUE(!p.options.switches.SA && p.options.switches.SO && p.options.switches.ST);

  // Anything that is not a switch is an error, not silently ignored.
  for (const char* bad : {"SA", "-SAX", "--SA", "-S", "--registy", "file.reg"}) {
    p = Parse({"-SA", bad});
    EXPECT_FALSE(p.ok) << bad;
    EXPECT_EQ(p.error, std::string("unknown argument '") + bad + "'");
  }

  p = Parse({});
  ASSERT_TRUE(p.ok);
  EXPECT_FALSE(p.options.switches.Any() || p.options.HasRender());
}

TEST(ParseCliOptions, OptionsWithValues) {
  Parsed p = Parse({"--registry", "/tmp/x.reg", "-SO", "--out-dir", "out dir"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*p.options.registryPath, std::filesystem::path("/tmp/x.reg"));
  EXPECT_EQ(*p.options.outDir, std::filesystem::path("out dir"));
  EXPECT_TRUE(p.options.switches.SO);

  // The "=" form, and the value of an option is never taken for a switch.
  p = Parse({"--registry=/SA", "--out-dir=-ST"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*p.options.registryPath, std::filesystem::path("/SA"));
  EXPECT_EQ(*p.options.outDir, std::filesystem::path("-ST"));
  EXPECT_FALSE(p.options.switches.Any());

  p = Parse({"--out-dir", "a", "--out-dir", "b"});
  EXPECT_EQ(*p.options.outDir, std::filesystem::path("b"));  // the last one counts

  p = Parse({"--view", "32", "-SO"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.view, brannock::registry::RegistryView::Bits32);
  EXPECT_EQ(Parse({"--view=64"}).options.view, brannock::registry::RegistryView::Bits64);
  EXPECT_FALSE(Parse({"-SO"}).options.view) << "the source's own view unless chosen";
  EXPECT_EQ(Parse({"--view", "16"}).error, "option '--view' needs 32 or 64, not '16'");
  EXPECT_EQ(Parse({"--view", "-SO"}).error, "option '--view' needs 32 or 64, not '-SO'");

  for (const char* option : {"--registry", "--out-dir", "--render", "--view"}) {
    p = Parse({"-SA", option});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, std::string("option '") + option + "' needs a value");
  }
}

TEST(ParseCliOptions, RenderRequests) {
  Parsed p = Parse({"--render", "lib.tlb"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.options.HasRender());
  EXPECT_EQ(*p.options.render.file, "lib.tlb");
  EXPECT_FALSE(p.options.render.typeLibGuid);

  p = Parse({"--registry", "prefix", "--render-typelib", "{00020430-0000-0000-C000-000000000046}", "2.0"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*p.options.render.typeLibGuid, "{00020430-0000-0000-C000-000000000046}");
  EXPECT_EQ(p.options.render.version, "2.0");
  EXPECT_FALSE(p.options.render.file);

  p = Parse({"--render-typelib", "{00020430-0000-0000-C000-000000000046}"});
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(p.error, "option '--render-typelib' needs a GUID and a version");

  p = Parse({"--render", "a.tlb", "--render-typelib", "{G}", "1.0"});
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(p.error, "only one of '--render', '--render-typelib' and '--list-typelibs' can be given");
  EXPECT_FALSE(Parse({"--list-typelibs", "a.dll", "--render", "a.dll"}).ok);

  p = Parse({"--list-typelibs", "FM20.DLL"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.options.HasRender());
  EXPECT_EQ(*p.options.render.listFile, "FM20.DLL");
  EXPECT_EQ(Parse({"--list-typelibs"}).error, "option '--list-typelibs' needs a value");

  p = Parse({"--drive", "c=/mnt/win", "--render", "x.tlb", "--drive=D=/d"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.render.drives, (std::vector<std::string>{"c=/mnt/win", "D=/d"}));
  EXPECT_EQ(Parse({"--drive", "1=/x"}).error, "option '--drive' needs LETTER=DIR or \\\\SERVER\\SHARE=DIR, not '1=/x'");
  p = Parse({"--drive", "\\\\srv\\tools=/mnt/tools", "--render", "x.tlb"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.render.drives, (std::vector<std::string>{"\\\\srv\\tools=/mnt/tools"}));

  EXPECT_EQ(Parse({"--render="}).error, "option '--render' needs a value");
  EXPECT_EQ(Parse({"-SA", "--out-dir", ""}).error, "option '--out-dir' needs a value");
  EXPECT_EQ(Parse({"-SA", "--registry="}).error, "option '--registry' needs a value");
}

TEST(ParseCliOptions, HelpAndVersion) {
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  const std::string usage = UsageText();
  for (const char* word : {"--registry", "--out-dir", "--render", "--render-typelib", "AppIds.csv", "Intfs.csv",
                           "ObjClasses.csv", "TypeLibs.csv"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
}
