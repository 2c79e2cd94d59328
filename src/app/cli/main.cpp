// brannock-cli: the list files of the batch mode and the type library
// renderer, without any window.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/dump_key_command.h"
#include "app/cli/render_command.h"
#include "app/cli/show_command.h"
#include "catalogue/batch_mode.h"
#include "common/error.h"
#include "common/version.h"
#include "platform/files.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"

namespace {

using namespace brannock;

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Errors and, with --verbose, notes: standard output stays for the results.
void ReportError(const std::string& message) { std::fprintf(stderr, "brannock-cli: %s\n", message.c_str()); }

int Run(const std::vector<std::string>& args) {
  if (std::optional<int> dumped = cli::RunDumpKeyCommand(args)) return *dumped;
  cli::CliOptions options;
  std::string error;
  if (!cli::ParseCliOptions(args, options, error)) {
    ReportError(error);
    std::fputs("Try 'brannock-cli --help'.\n", stderr);
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(cli::UsageText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("brannock-cli " BRANNOCK_VERSION_TEXT);
    return 0;
  }
  if (!options.switches.Any() && !options.HasRender() && !options.show) {
    std::fputs(cli::UsageText().c_str(), stderr);
    return kExitUsage;
  }

  try {
    registry::RegistrySource source = registry::OpenRegistrySource(options.registryPath);
    if (options.verbose) {
      for (const Text& line : source.skipped) ReportError(Utf16ToUtf8(line));
      ReportError("reading " + Utf16ToUtf8(source.Description()));
    }
    const registry::RegistryView view = options.view.value_or(registry::DefaultView(*source.backend));
    registry::RequireView(*source.backend, view);
    registry::ViewedRegistry viewed(*source.backend, view);
    if (options.switches.Any()) {
      Catalogue catalogue(viewed);
      RunBatch(catalogue, options.switches, options.outDir ? *options.outDir : platform::ExecutableDirectory());
    }
    if (options.HasRender()) return cli::RunRenderCommand(options.render, &source, view);
    if (options.show) {
      Catalogue catalogue(viewed);
      catalogue.CaptureEnvironment();
      if (cli::ShowObjects(catalogue, Utf8ToUtf16(*options.show), stdout) == 0) {
        ReportError("no object has the GUID or name '" + *options.show + "'");
        return kExitError;
      }
    }
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
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(brannock::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
