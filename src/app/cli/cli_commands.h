// The commands of brannock-cli, each run by the option that names it in
// the option table (app/startup/option_table.h) after the opening: the
// source, view and catalogue are open and the batch switches have run. A
// new command is its table entry and one line in Commands() here.
#pragma once

#include <span>
#include <string_view>

#include "app/cli/render_command.h"
#include "app/startup/opening.h"

namespace brannock::cli {

// Gives the exit status (app/startup/option_table.h).
using CommandRun = int (*)(startup::Opening& opening);

struct Command {
  std::string_view option;  // "--render"
  CommandRun run;
};

std::span<const Command> Commands();

// The command of that option; null when brannock-cli has none by that name.
const Command* FindCommand(std::string_view option);

// The render options given (--render, --render-typelib, --list-typelibs,
// --drive).
RenderRequest RenderRequestOf(const startup::ParsedOptions& options);

}  // namespace brannock::cli
