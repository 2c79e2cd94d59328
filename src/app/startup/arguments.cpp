#include "app/startup/arguments.h"

#include <algorithm>

#include "platform/files.h"
#include "registry/viewed_registry.h"

namespace brannock::startup {

namespace {

// "32 or 64", "pascal, idl or csv"; each in `quote` when one is given.
std::string ChoiceList(const std::vector<std::string_view>& choices, std::string_view quote = {}) {
  std::string text;
  for (size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) text += i + 1 == choices.size() ? " or " : ", ";
    text += std::string(quote) + std::string(choices[i]) + std::string(quote);
  }
  return text;
}

std::string Quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

// The error of one value, or empty.
std::string ValueError(const OptionSpec& option, const std::string& value) {
  if (value.empty()) return "option " + Quoted(option.name) + " needs a value";
  if (!option.choices.empty()) {
    bool listed = false;
    for (std::string_view choice : option.choices) listed = listed || choice == value;
    if (!listed) return "option " + Quoted(option.name) + " needs " + ChoiceList(option.choices) + ", not '" + value + "'";
  }
  if (option.check) {
    const std::string error = option.check(value);
    if (!error.empty()) return "option " + Quoted(option.name) + " " + error;
  }
  return {};
}

}  // namespace

std::optional<std::string> ParsedOptions::Value(std::string_view name) const {
  const std::vector<std::string> values = Values(name);
  if (values.empty()) return std::nullopt;
  return values.front();
}

std::vector<std::string> ParsedOptions::Values(std::string_view name) const {
  const auto found = given_.find(name);
  if (found == given_.end() || found->second.empty()) return {};
  return found->second.back();
}

std::vector<std::string> ParsedOptions::Every(std::string_view name) const {
  std::vector<std::string> values;
  const auto found = given_.find(name);
  if (found == given_.end()) return values;
  for (const auto& occurrence : found->second)
    if (!occurrence.empty()) values.push_back(occurrence.front());
  return values;
}

std::optional<std::filesystem::path> ParsedOptions::RegistryPath() const {
  const std::optional<std::string> path = Value("--registry");
  if (!path) return std::nullopt;
  return PathFromArgument(*path);
}

std::optional<registry::RegistryView> ParsedOptions::View() const {
  const std::optional<std::string> view = Value("--view");
  if (!view) return std::nullopt;
  return registry::ViewFromText(Utf8ToUtf16(*view));
}

bool ParseArguments(Program program, const std::vector<std::string>& args, ParsedOptions& options,
                    std::string& error) {
  options = ParsedOptions();
  error.clear();
  // The first error is the one reported; the arguments after it are still
  // read for the batch switches, which tell a window program to report it
  // on the console rather than in a box.
  auto fail = [&error](std::string text) {
    if (error.empty()) error = std::move(text);
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.empty()) continue;
    if (const BatchSwitches s = FindBatchSwitches({Utf8ToUtf16(arg)}); s.Any()) {
      options.switches.SA = options.switches.SA || s.SA;
      options.switches.SI = options.switches.SI || s.SI;
      options.switches.SO = options.switches.SO || s.SO;
      options.switches.ST = options.switches.ST || s.ST;
      continue;
    }
    // "--name=value"
    std::string_view name = arg;
    std::optional<std::string> inlineValue;
    if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = std::string_view(arg).substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    const OptionSpec* option = FindOption(name, program);
    if (!option) {
      options.unknown.push_back(arg);
      continue;
    }
    const size_t count = ValueCount(*option);
    std::vector<std::string> values;
    if (inlineValue) {
      if (count == 0) {
        fail("option " + Quoted(option->name) + " takes no value");
        continue;
      }
      values.push_back(*inlineValue);
    }
    while (values.size() < count && !inlineValue && i + 1 < args.size()) values.push_back(args[++i]);
    if (values.size() < count) {
      fail(count == 1 ? "option " + Quoted(option->name) + " needs a value"
                      : "option " + Quoted(option->name) + " needs " + std::string(option->values));
      continue;
    }
    if (const std::string valueError = count == 1 ? ValueError(*option, values.front()) : std::string();
        !valueError.empty()) {
      fail(valueError);
      continue;
    }
    if (option->kind == OptionKind::Command) {
      if (options.command && options.command != option) {
        fail(Quoted(options.command->name) + " and " + Quoted(option->name) + " cannot be given together");
        continue;
      }
      options.command = option;
    }
    options.given_[std::string(option->name)].push_back(std::move(values));
  }
  // A setting given without a command it goes with.
  for (const OptionSpec& option : OptionTable()) {
    if (option.commands.empty() || !options.Has(option.name)) continue;
    const bool with = options.command && std::find(option.commands.begin(), option.commands.end(),
                                                    options.command->name) != option.commands.end();
    if (!with) fail(Quoted(option.name) + " goes with " + ChoiceList(option.commands, "'"));
  }
  return error.empty();
}

std::string UnknownArgumentError(const ParsedOptions& options) {
  if (options.unknown.empty()) return {};
  return "unknown argument '" + options.unknown.front() + "'";
}

std::filesystem::path PathFromArgument(const std::string& arg) { return platform::HostPathFromArgument(arg); }

}  // namespace brannock::startup
