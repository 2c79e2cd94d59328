// The arguments of the three programs, read by the one option table.
#include "app/startup/arguments.h"

#include <gtest/gtest.h>

#include "app/cli/cli_commands.h"

namespace brannock::startup {
namespace {

struct Parsed {
  bool ok;
  ParsedOptions options;
  std::string error;
};

Parsed Parse(std::vector<std::string> args, Program program = kCli) {
  Parsed p;
  p.ok = ParseArguments(program, args, p.options, p.error);
  return p;
}

TEST(ParseArguments, BatchSwitchesAsTheWindowProgramTakesThem) {
  Parsed p = Parse({"-sa", "/SI"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.options.switches.SA && p.options.switches.SI && !p.options.switches.SO && !p.options.switches.ST);
  EXPECT_FALSE(p.options.command);
  EXPECT_FALSE(p.options.RegistryPath() || p.options.Has("--out-dir") || p.options.Has("--help"));

  p = Parse({"/ST", "", "-So", "/st"});
  ASSERT_TRUE(p.ok) << p.error;  // empty arguments are passed over, repeats are harmless
  EXPECT_TRUE(!p.options.switches.SA && p.options.switches.SO && p.options.switches.ST);
  EXPECT_TRUE(p.options.unknown.empty());

  // What is no switch and no option is kept: brannock-cli refuses it.
  for (const char* bad : {"SA", "-SAX", "--SA", "-S", "--registy", "file.reg"}) {
    p = Parse({"-SA", bad});
    EXPECT_TRUE(p.ok) << bad;
    EXPECT_EQ(UnknownArgumentError(p.options), std::string("unknown argument '") + bad + "'");
  }
  EXPECT_EQ(UnknownArgumentError(Parse({"-SA"}).options), "");

  p = Parse({});
  ASSERT_TRUE(p.ok);
  EXPECT_FALSE(p.options.switches.Any() || p.options.command);
}

TEST(ParseArguments, OptionsWithValues) {
  Parsed p = Parse({"--registry", "/tmp/x.reg", "-SO", "--out-dir", "out dir"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*p.options.RegistryPath(), std::filesystem::path("/tmp/x.reg"));
  EXPECT_EQ(p.options.Value("--out-dir"), "out dir");
  EXPECT_TRUE(p.options.switches.SO);

  // The "=" form, and the value of an option is never taken for a switch.
  p = Parse({"--registry=/SA", "--out-dir=-ST"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*p.options.RegistryPath(), std::filesystem::path("/SA"));
  EXPECT_EQ(p.options.Value("--out-dir"), "-ST");
  EXPECT_FALSE(p.options.switches.Any());
  p = Parse({"--out-dir", "-SA"});
  EXPECT_EQ(p.options.Value("--out-dir"), "-SA");
  EXPECT_FALSE(p.options.switches.Any());

  p = Parse({"--out-dir", "a", "--out-dir", "b"});
  EXPECT_EQ(p.options.Value("--out-dir"), "b");  // the last one counts

  p = Parse({"--view", "32", "-SO"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.View(), registry::RegistryView::Bits32);
  EXPECT_EQ(Parse({"--view=64"}).options.View(), registry::RegistryView::Bits64);
  EXPECT_FALSE(Parse({"-SO"}).options.View()) << "the source's own view unless chosen";
  EXPECT_EQ(Parse({"--view", "16"}).error, "option '--view' needs 32 or 64, not '16'");
  EXPECT_EQ(Parse({"--view", "-SO"}).error, "option '--view' needs 32 or 64, not '-SO'");

  for (const char* option : {"--registry", "--out-dir", "--render", "--view"}) {
    p = Parse({"-SA", option});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, std::string("option '") + option + "' needs a value");
  }
  EXPECT_EQ(Parse({"--render="}).error, "option '--render' needs a value");
  EXPECT_EQ(Parse({"-SA", "--out-dir", ""}).error, "option '--out-dir' needs a value");
  EXPECT_EQ(Parse({"-SA", "--registry="}).error, "option '--registry' needs a value");
  EXPECT_EQ(Parse({"--verbose=yes"}).error, "option '--verbose' takes no value");
  EXPECT_TRUE(Parse({"--verbose", "-h"}).options.Has("--help")) << "-h is --help";
}

TEST(ParseArguments, CommandsOfTheCommandLine) {
  Parsed p = Parse({"--render", "lib.tlb"});
  ASSERT_TRUE(p.ok) << p.error;
  ASSERT_TRUE(p.options.command);
  EXPECT_EQ(p.options.command->name, "--render");
  cli::RenderRequest request = cli::RenderRequestOf(p.options);
  EXPECT_EQ(*request.file, "lib.tlb");
  EXPECT_FALSE(request.typeLibGuid || request.listFile);

  p = Parse({"--registry", "prefix", "--render-typelib", "{00020430-0000-0000-C000-000000000046}", "2.0"});
  ASSERT_TRUE(p.ok) << p.error;
  request = cli::RenderRequestOf(p.options);
  EXPECT_EQ(*request.typeLibGuid, "{00020430-0000-0000-C000-000000000046}");
  EXPECT_EQ(request.version, "2.0");
  EXPECT_FALSE(request.file);

  p = Parse({"--render-typelib", "{00020430-0000-0000-C000-000000000046}"});
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(p.error, "option '--render-typelib' needs {GUID} MAJOR.MINOR");
  EXPECT_EQ(Parse({"--render-typelib=x", "1.0"}).error, "option '--render-typelib' needs {GUID} MAJOR.MINOR");

  // One command a run; the same one twice is that command.
  EXPECT_EQ(Parse({"--render", "a.tlb", "--render-typelib", "{G}", "1.0"}).error,
            "'--render' and '--render-typelib' cannot be given together");
  EXPECT_EQ(Parse({"--list-typelibs", "a.dll", "--show", "x"}).error,
            "'--list-typelibs' and '--show' cannot be given together");
  p = Parse({"--show", "a", "--show", "b"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.Value("--show"), "b");

  p = Parse({"--list-typelibs", "FM20.DLL"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(*cli::RenderRequestOf(p.options).listFile, "FM20.DLL");

  p = Parse({"--drive", "c=/mnt/win", "--render", "x.tlb", "--drive=D=/d"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(cli::RenderRequestOf(p.options).drives, (std::vector<std::string>{"c=/mnt/win", "D=/d"}));
  EXPECT_EQ(Parse({"--drive", "1=/x"}).error, "option '--drive' needs LETTER=DIR or \\\\SERVER\\SHARE=DIR, not '1=/x'");
  p = Parse({"--drive", "\\\\srv\\tools=/mnt/tools", "--render", "x.tlb"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(cli::RenderRequestOf(p.options).drives, (std::vector<std::string>{"\\\\srv\\tools=/mnt/tools"}));

  // The notation of a rendering: a setting that goes with the two render commands.
  EXPECT_EQ(cli::RenderRequestOf(Parse({"--render", "x.tlb"}).options).language, cli::RenderLanguage::Pascal);
  p = Parse({"--language", "idl", "--render-typelib", "{G}", "1.0"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(cli::RenderRequestOf(p.options).language, cli::RenderLanguage::Idl);
  p = Parse({"--render", "x.tlb", "--language=idl", "--language", "pascal"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(cli::RenderRequestOf(p.options).language, cli::RenderLanguage::Pascal) << "the last one counts";
  EXPECT_EQ(Parse({"--render", "x.tlb", "--language", "c"}).error, "option '--language' needs pascal or idl, not 'c'");
  EXPECT_EQ(Parse({"--render", "x.tlb", "--language"}).error, "option '--language' needs a value");
  EXPECT_EQ(Parse({"--list-typelibs", "x.dll", "--language", "idl"}).error,
            "'--language' goes with '--render' or '--render-typelib'");
  EXPECT_EQ(Parse({"--language", "idl"}).error, "'--language' goes with '--render' or '--render-typelib'");
  EXPECT_EQ(Parse({"-SA", "--language", "pascal"}).error, "'--language' goes with '--render' or '--render-typelib'");

  p = Parse({"--view", "32", "--dump-key", "CLSID", "out.txt"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.Values("--dump-key"), (std::vector<std::string>{"CLSID", "out.txt"}));

  // Every command of the table has its handler in brannock-cli.
  for (const OptionSpec& option : OptionTable()) {
    if (option.kind != OptionKind::Command) continue;
    EXPECT_TRUE(cli::FindCommand(option.name)) << option.name << " has no handler";
  }
}

// The window programs take their own options by the same table, with the
// same texts, and pass over every other parameter.
TEST(ParseArguments, TheWindowProgramsIgnoreWhatTheyDoNotTake) {
  for (Program window : {kQtWindow, kWin32Window}) {
    Parsed p = Parse({"--out-dir", "x", "--render", "a.tlb", "SA", "-SO", "--view", "32"}, window);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_FALSE(p.options.command);
    EXPECT_TRUE(p.options.switches.SO && !p.options.switches.SA);
    EXPECT_EQ(p.options.View(), registry::RegistryView::Bits32);
    EXPECT_EQ(p.options.unknown, (std::vector<std::string>{"--out-dir", "x", "--render", "a.tlb", "SA"}));
    // The switches after an error are read too: a batch run reports it on
    // the console, not in a box.
    p = Parse({"--view", "48", "-SO", "--view", "16"}, window);
    EXPECT_EQ(p.error, "option '--view' needs 32 or 64, not '48'");
    EXPECT_TRUE(p.options.switches.SO);
    EXPECT_EQ(Parse({"-SO", "--view"}, window).error, "option '--view' needs a value");
    EXPECT_TRUE(Parse({"-h"}, window).options.Has("--help"));
  }
  // brannock.exe reads the live registry: --registry is no option of it.
  Parsed p = Parse({"--registry", "x.reg", "-SA"}, kWin32Window);
  EXPECT_FALSE(p.options.RegistryPath());
  EXPECT_EQ(p.options.unknown, (std::vector<std::string>{"--registry", "x.reg"}));
  p = Parse({"--registry", "x.reg", "--screenshot", "a.png"}, kQtWindow);
  EXPECT_EQ(*p.options.RegistryPath(), std::filesystem::path("x.reg"));
  EXPECT_EQ(p.options.Value("--screenshot"), "a.png");
  EXPECT_EQ(Parse({"--screenshot", "a.png"}).options.unknown.size(), 2u) << "no option of brannock-cli";
}

}  // namespace
}  // namespace brannock::startup
