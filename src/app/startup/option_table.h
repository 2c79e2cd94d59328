// The options of the three programs in one table: brannock-cli, brannock
// (the Qt window) and brannock.exe (the Win32 window). Each entry says
// which programs take it; their arguments are parsed by it
// (app/startup/arguments.h), their --help text is made from it
// (app/startup/help_text.h), and a test checks the manual pages against it.
//
// An option is a setting (a value or a flag that commands read) or a
// command (what brannock-cli does: at most one a run, beside the batch
// switches). A new command of brannock-cli is one entry here and one
// handler in app/cli/cli_commands.cpp; a new setting is one entry, read by
// the commands that use it (ParsedOptions::Value and ::Has).
//
// Exit statuses of all three programs: 0 on success, 1 on an error, 2 on a
// usage error. A command that answers a question gives 0 for one answer
// and 3 for the answer that grep and diff give 1 for (no match,
// differences, findings); --show keeps 1 for "no such object".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brannock::startup {

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOtherAnswer = 3;

// The programs, as bits: an option names every program that takes it.
enum Program : uint8_t {
  kCli = 1,          // brannock-cli
  kQtWindow = 2,     // brannock
  kWin32Window = 4,  // brannock.exe
};
using Programs = uint8_t;
inline constexpr Programs kEveryProgram = kCli | kQtWindow | kWin32Window;

enum class OptionKind : uint8_t {
  Setting,  // a value or flag that the opening and the commands read
  Command,  // what brannock-cli does; at most one a run
  Batch,    // the switches -SA -SI -SO -ST ("/" for "-", any letter case)
};

struct OptionSpec {
  std::string_view name;   // "--registry"; the batch entry: "-SA -SI -SO -ST"
  std::string_view alias;  // "-h", or empty
  // What follows the option, as --help shows it ("PATH", "32|64",
  // "{GUID} MAJOR.MINOR"): as many values as words; empty for a flag.
  std::string_view values;
  OptionKind kind = OptionKind::Setting;
  Programs programs = 0;
  // --help's text for the option, one paragraph (wrapped when shown);
  // `windowHelp`, when not empty, is the window programs' own.
  std::string_view help;
  std::string_view windowHelp;
  // The values the option takes, when it takes only some ("32", "64");
  // anything else is a usage error naming them.
  std::vector<std::string_view> choices;
  // A test of a value beyond `choices`: an error text (without the option's
  // name) or empty.
  std::string (*check)(const std::string& value) = nullptr;
  // The commands a setting goes with ("--render"); given with none of them
  // it is a usage error. Empty: it goes with any.
  std::vector<std::string_view> commands;
  bool repeatable = false;  // every occurrence counts; else the last one
  bool hidden = false;      // for the test stages only: not in --help or the manual
};

// The table, in the order --help lists it.
std::span<const OptionSpec> OptionTable();

// The entry named `name` (or aliased) that `program` takes; null otherwise.
const OptionSpec* FindOption(std::string_view name, Program program);

// A program's name, its usage lines' commands and the text --help gives
// around the options.
struct ProgramText {
  std::string_view name;         // "brannock-cli"
  std::string_view description;  // after the usage lines
  std::string_view epilogue;     // after the options: the exit statuses
};
const ProgramText& TextOf(Program program);

// The number of values an option takes (the words of `values`).
size_t ValueCount(const OptionSpec& option);

}  // namespace brannock::startup
