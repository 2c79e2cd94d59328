// The manual pages (data/linux/*.1) and the README name the options of the
// option table: each manual page's OPTIONS section has an item for every
// option its program takes and for no other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/startup/option_table.h"

namespace brannock::startup {
namespace {

std::string ReadSourceFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(BRANNOCK_SOURCE_DIR) / path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The options the table gives `program` (the batch switches one by one),
// leaving out hidden ones.
std::set<std::string> TableOptions(Program program) {
  std::set<std::string> names;
  for (const OptionSpec& option : OptionTable()) {
    if ((option.programs & program) == 0 || option.hidden) continue;
    if (option.kind == OptionKind::Batch) {
      names.insert({"-SA", "-SI", "-SO", "-ST"});
    } else {
      names.insert(std::string(option.name));
    }
  }
  return names;
}

// The options named by the item tags (the line after ".TP") of the
// section OPTIONS, with troff's "\-" read as "-".
std::set<std::string> ManualOptions(const std::string& page) {
  std::set<std::string> names;
  std::istringstream lines(page);
  bool inOptions = false, tag = false;
  const std::regex option(R"((\\-\\-[a-z][a-z0-9\\-]*|\\-S[AIOT]))");
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(".SH", 0) == 0) inOptions = line == ".SH OPTIONS";
    if (!inOptions) continue;
    if (tag) {
      for (std::sregex_iterator m(line.begin(), line.end(), option), end; m != end; ++m)
        names.insert(std::regex_replace(m->str(), std::regex(R"(\\-)"), "-"));
    }
    tag = line == ".TP";
  }
  return names;
}

TEST(ManualPages, NameEveryOptionOfTheTable) {
  const std::pair<const char*, Program> pages[] = {{"data/linux/brannock-cli.1", kCli},
                                                   {"data/linux/brannock.1", kQtWindow}};
  for (const auto& [path, program] : pages) {
    SCOPED_TRACE(path);
    const std::string page = ReadSourceFile(path);
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(ManualOptions(page), TableOptions(program));
  }
  const std::string readme = ReadSourceFile("README.md");
  for (Program program : {kCli, kQtWindow, kWin32Window})
    for (const std::string& name : TableOptions(program))
      EXPECT_TRUE(std::regex_search(readme, std::regex(name + "([^a-z-]|$)"))) << name << " is not in README.md";
}

}  // namespace
}  // namespace brannock::startup
