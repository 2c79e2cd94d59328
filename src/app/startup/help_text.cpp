#include "app/startup/help_text.h"

#include "common/version.h"

namespace brannock::startup {

namespace {

constexpr size_t kHelpColumn = 20;
constexpr size_t kLineWidth = 78;

// `text` wrapped at blanks into lines of at most kLineWidth, each starting
// at kHelpColumn; the first one goes after `head`, or below it when it does
// not leave room.
std::string OptionLines(const std::string& head, std::string_view text) {
  std::string out = head;
  if (out.size() + 1 >= kHelpColumn) out += "\n" + std::string(kHelpColumn, ' ');
  else out.resize(kHelpColumn, ' ');
  size_t column = kHelpColumn;
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find(' ');
    const std::string_view word = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!first && column + 1 + word.size() > kLineWidth) {
      out += "\n" + std::string(kHelpColumn, ' ');
      column = kHelpColumn;
      first = true;
    }
    if (!first) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    first = false;
  }
  return out + "\n";
}

}  // namespace

std::string HelpText(Program program) {
  const ProgramText& text = TextOf(program);
  const std::string name(text.name);
  std::string usage = "Usage: " + name + " [OPTIONS] [-SA] [-SI] [-SO] [-ST]\n";
  std::string options;
  for (const OptionSpec& option : OptionTable()) {
    if ((option.programs & program) == 0 || option.hidden) continue;
    std::string head = "  " + std::string(option.name);
    if (!option.alias.empty()) head = "  " + std::string(option.alias) + ", " + std::string(option.name);
    if (!option.values.empty()) head += " " + std::string(option.values);
    const bool window = program != kCli && !option.windowHelp.empty();
    options += OptionLines(head, window ? option.windowHelp : option.help);
    if (option.kind == OptionKind::Command)
      usage += std::string(7, ' ') + name + " [OPTIONS] " + std::string(option.name) +
               (option.values.empty() ? "" : " ") + std::string(option.values) + "\n";
  }
  return usage + "\n" + std::string(text.description) + "\nOptions:\n" + options + "\n" + std::string(text.epilogue);
}

std::optional<std::string> AskedText(const ParsedOptions& options, Program program) {
  if (options.Has("--help")) return HelpText(program);
  if (options.Has("--version")) return std::string(TextOf(program).name) + " " BRANNOCK_VERSION_TEXT "\n";
  return std::nullopt;
}

}  // namespace brannock::startup
