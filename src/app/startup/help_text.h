// The --help text of a program, made from the option table: the usage
// lines (one for the batch switches, one per command), the program's
// description, every option it takes that is not hidden, and its exit
// statuses.
#pragma once

#include <optional>
#include <string>

#include "app/startup/arguments.h"
#include "app/startup/option_table.h"

namespace brannock::startup {

std::string HelpText(Program program);

// What --help or --version given in `options` asks the program to show
// before anything else: its help text, or its name and version on a line
// ("brannock-cli 1.2.0"); none when neither was given.
std::optional<std::string> AskedText(const ParsedOptions& options, Program program);

}  // namespace brannock::startup
