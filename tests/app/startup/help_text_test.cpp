#include "app/startup/help_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace brannock::startup {
namespace {

bool Mentions(const std::string& text, std::string_view word) { return text.find(word) != std::string::npos; }

TEST(HelpText, EveryOptionOfTheProgramAndNoOther) {
  for (Program program : {kCli, kQtWindow, kWin32Window}) {
    const std::string help = HelpText(program);
    SCOPED_TRACE(std::string(TextOf(program).name));
    EXPECT_EQ(help.rfind("Usage: " + std::string(TextOf(program).name) + " [OPTIONS] [-SA] [-SI] [-SO] [-ST]\n", 0),
              0u);
    for (const OptionSpec& option : OptionTable()) {
      // "--render " so that --render-typelib does not stand for it.
      const std::string shown = std::string(option.name) + (option.values.empty() ? "" : " ");
      const bool takes = (option.programs & program) != 0 && !option.hidden;
      EXPECT_EQ(Mentions(help, shown), takes) << option.name;
      if (takes && !option.values.empty()) {
        EXPECT_TRUE(Mentions(help, shown + std::string(option.values)));
      }
    }
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 78u) << line;
    EXPECT_TRUE(Mentions(help, "Exit status:"));
  }
  const std::string cli = HelpText(kCli);
  for (const char* word : {"AppIds.csv", "Intfs.csv", "ObjClasses.csv", "TypeLibs.csv", "-h, --help",
                           "       brannock-cli [OPTIONS] --render-typelib {GUID} MAJOR.MINOR\n",
                           "       brannock-cli [OPTIONS] --check\n",
                           "       brannock-cli [OPTIONS] --find TEXT\n",
                           "\n  3  the answer grep and diff give 1 for; --find, --references: no match;\n"
                           "     --check: an error or a warning; --compare: the registries differ\n"})
    EXPECT_TRUE(Mentions(cli, word)) << word;
  EXPECT_TRUE(Mentions(HelpText(kQtWindow), "next to the program")) << "the window programs' own text";
  EXPECT_FALSE(Mentions(HelpText(kQtWindow), "Usage: brannock [OPTIONS] --")) << "no commands";
}

TEST(HelpText, LongOptionsPutTheirTextBelow) {
  const std::string help = HelpText(kCli);
  EXPECT_TRUE(Mentions(help, "  --render-typelib {GUID} MAJOR.MINOR\n                    render a registered"));
  EXPECT_TRUE(Mentions(help, "  --registry PATH   registry to read:"));
}

TEST(HelpText, AskedTextOfHelpAndVersionForEachProgram) {
  const auto asked = [](Program program, std::vector<std::string> args) {
    ParsedOptions options;
    std::string error;
    EXPECT_TRUE(ParseArguments(program, args, options, error)) << error;
    return AskedText(options, program);
  };
  for (Program program : {kCli, kQtWindow, kWin32Window}) {
    const std::string name(TextOf(program).name);
    EXPECT_EQ(asked(program, {"--help"}), HelpText(program)) << name;
    // --help wins over --version, wherever each stands.
    EXPECT_EQ(asked(program, {"--version", "--help"}), HelpText(program)) << name;
    const std::optional<std::string> version = asked(program, {"--version"});
    ASSERT_TRUE(version) << name;
    EXPECT_EQ(version->rfind(name + " ", 0), 0u) << *version;
    EXPECT_EQ(version->back(), '\n');
    EXPECT_EQ(asked(program, {"--view", "32"}), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace brannock::startup
