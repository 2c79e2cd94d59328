// The arguments of a program, read by the option table
// (app/startup/option_table.h) for that program.
//
// An option takes its values as the next arguments ("--registry PATH"), or
// one value after "=" ("--registry=PATH"); what it takes is never read as
// an option or a switch ("--out-dir -SA" names a folder). A batch switch is "-" or "/" and its two
// letters, any case. Empty arguments are passed over. What the table does
// not know is kept in `unknown`: brannock-cli refuses it (usage error), the
// window programs ignore it as they ignore any other parameter.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/startup/option_table.h"
#include "catalogue/batch_mode.h"
#include "registry/registry_backend.h"

namespace brannock::startup {

class ParsedOptions {
 public:
  bool Has(std::string_view name) const { return given_.count(std::string(name)) != 0; }
  // The first value of the option's last occurrence; nothing when it was
  // not given.
  std::optional<std::string> Value(std::string_view name) const;
  // The values of the option's last occurrence (several for an option with
  // several values); empty when not given.
  std::vector<std::string> Values(std::string_view name) const;
  // The first value of every occurrence, in order (repeatable options).
  std::vector<std::string> Every(std::string_view name) const;

  // The settings every program reads.
  std::optional<std::filesystem::path> RegistryPath() const;
  std::optional<registry::RegistryView> View() const;

  BatchSwitches switches;
  // The command given (brannock-cli), null when none.
  const OptionSpec* command = nullptr;
  // The arguments no entry took, in order.
  std::vector<std::string> unknown;

 private:
  friend bool ParseArguments(Program, const std::vector<std::string>&, ParsedOptions&, std::string&);
  // By option name, one list of values per occurrence.
  std::map<std::string, std::vector<std::vector<std::string>>, std::less<>> given_;
};

// Reads `args` (after the program name; UTF-8 on every platform) for
// `program`. False with a message in `error` for an option without its
// values, a value the option refuses, or two commands (the first of them;
// the batch switches of the whole line are read all the same); an unknown
// argument is no error here (see ParsedOptions::unknown).
bool ParseArguments(Program program, const std::vector<std::string>& args, ParsedOptions& options,
                    std::string& error);

// "unknown argument 'X'" for the first unknown argument; empty when none.
std::string UnknownArgumentError(const ParsedOptions& options);

// A file-system path from an argument.
std::filesystem::path PathFromArgument(const std::string& arg);

}  // namespace brannock::startup
