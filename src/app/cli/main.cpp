// brannock-cli: the list files of the batch mode and the type library
// renderer, without any window.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"
#include "app/startup/help_text.h"
#include "app/startup/opening.h"
#include "platform/files.h"
#include "platform/heap_pages.h"
#include "platform/process_end.h"

namespace {

using namespace brannock;
using startup::kExitError;
using startup::kExitUsage;

// Errors and, with --verbose, notes: standard output stays for the results.
void ReportError(const std::string& message) { std::fprintf(stderr, "brannock-cli: %s\n", message.c_str()); }

int Run(const std::vector<std::string>& args) {
  startup::Opening opening(startup::kCli, args);
  const startup::ParsedOptions& options = opening.Options();
  std::string error = opening.UsageError();
  if (error.empty()) error = startup::UnknownArgumentError(options);
  if (!error.empty()) {
    ReportError(error);
    std::fputs("Try 'brannock-cli --help'.\n", stderr);
    return kExitUsage;
  }
  if (const std::optional<std::string> asked = startup::AskedText(options, startup::kCli)) {
    std::fputs(asked->c_str(), stdout);
    return 0;
  }
  if (!options.switches.Any() && !options.command) {
    std::fputs(startup::HelpText(startup::kCli).c_str(), stderr);
    return kExitUsage;
  }

  try {
    opening.OpenSource();
    if (options.Has("--verbose")) {
      for (const Text& line : opening.Source().skipped) ReportError(Utf16ToUtf8(line));
      ReportError("reading " + Utf16ToUtf8(opening.Source().Description()));
    }
    opening.OpenView();
    const std::optional<std::string> outDir = options.Value("--out-dir");
    opening.RunBatch(outDir ? startup::PathFromArgument(*outDir) : platform::ExecutableDirectory());
    // The list files are written and closed by now, the output flushed at
    // the end: the registry read and the catalogue are left to the end of
    // the process.
    const int code = options.command ? cli::FindCommand(options.command->name)->run(opening) : 0;
    return platform::EndProcessNow(code);
  } catch (const std::exception& e) {
    // Files written before the error stay in place.
    ReportError(e.what());
    return kExitError;
  }
  return 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  brannock::platform::UseLargeHeapPages();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(brannock::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  return Run(args);
}
#else
int main(int argc, char** argv) {
  // A run ends soon after its work: its heap in large pages from the start.
  brannock::platform::UseLargeHeapPages();
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
