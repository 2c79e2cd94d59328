#include "app/cli/cli_commands.h"

#include <cstdio>

#include "app/cli/check_command.h"
#include "app/cli/dump_key_command.h"
#include "app/cli/find_command.h"
#include "app/cli/registry_compare_command.h"
#include "app/cli/show_command.h"
#include "app/cli/source_loader.h"
#include "platform/files.h"
#include "platform/process_end.h"

namespace brannock::cli {

namespace {

// The program's last act: the library is not taken apart (platform/process_end.h).
int Render(startup::Opening& opening) {
  return RunRenderCommand(RenderRequestOf(opening.Options()), &opening.Source(), opening.Viewed().View(),
                          platform::EndProcessNow);
}

int Show(startup::Opening& opening) {
  const std::string wanted = *opening.Options().Value("--show");
  Catalogue& catalogue = opening.Objects();
  catalogue.CaptureEnvironment();
  if (ShowObjects(catalogue, Utf8ToUtf16(wanted), stdout) != 0) return startup::kExitOk;
  std::fprintf(stderr, "brannock-cli: no object has the GUID or name '%s'\n", wanted.c_str());
  return startup::kExitError;
}

int DumpKey(startup::Opening& opening) {
  const std::vector<std::string> values = opening.Options().Values("--dump-key");
  WriteKeyDump(opening.Viewed(), Utf8ToUtf16(values[0]), startup::PathFromArgument(values[1]));
  return startup::kExitOk;
}

int Check(startup::Opening& opening) {
  CheckRequest request;
  request.libraries = opening.Options().Has("--libraries");
  request.format = opening.Options().Value("--format") == "csv" ? CheckFormat::Csv : CheckFormat::Lines;
  request.drives = opening.Options().Every("--drive");
  return RunCheckCommand(request, opening.Source(), opening.Viewed().View(), stdout);
}

int Security(startup::Opening& opening) {
  const std::string wanted = *opening.Options().Value("--security");
  if (ShowSecurity(opening.Objects(), *opening.Source().backend, Utf8ToUtf16(wanted), stdout) != 0)
    return startup::kExitOk;
  std::fprintf(stderr, "brannock-cli: no AppID and no class with an AppID has the GUID or name '%s'\n",
               wanted.c_str());
  return startup::kExitError;
}

int Find(startup::Opening& opening) {
  return RunFindCommand(opening.Objects(), Utf8ToUtf16(*opening.Options().Value("--find")), stdout);
}

int References(startup::Opening& opening) {
  const std::vector<std::string> wanted = opening.Options().Every("--references");
  TextList texts;
  for (const std::string& w : wanted) texts.push_back(Utf8ToUtf16(w));
  const auto loader = SourceLoader(&opening.Source(), opening.Options().Every("--drive"), opening.Viewed().View());
  const int status = RunReferencesCommand(opening.Objects(), loader.get(), texts, stdout, stderr);
  if (status != startup::kExitOk)
    std::fprintf(stderr, "brannock-cli: no object has the GUID or name '%s'%s\n", wanted.front().c_str(),
                 wanted.size() > 1 ? " nor any other given" : "");
  return status;
}

int DumpSecurity(startup::Opening& opening) {
  const std::string text = DumpSecurityValues(opening.Viewed(), *opening.Source().backend);
  platform::WriteFileAtomically(startup::PathFromArgument(*opening.Options().Value("--dump-security")), text);
  return startup::kExitOk;
}

int Snapshot(startup::Opening& opening) {
  RunSnapshotCommand(startup::PathFromArgument(*opening.Options().Value("--snapshot")), opening.Source());
  return startup::kExitOk;
}

int Compare(startup::Opening& opening) {
  const startup::ParsedOptions& options = opening.Options();
  const CompareFormat format = options.Value("--format") == "csv" ? CompareFormat::Csv : CompareFormat::Report;
  return RunCompareCommand(startup::PathFromArgument(*options.Value("--compare")), opening.Source(),
                           opening.Viewed().View(), format, stdout);
}

constexpr Command kCommands[] = {
    {"--render", Render},
    {"--render-typelib", Render},
    {"--list-typelibs", Render},
    {"--show", Show},
    {"--dump-key", DumpKey},
    {"--check", Check},
    {"--security", Security},
    {"--find", Find},
    {"--references", References},
    {"--snapshot", Snapshot},
    {"--compare", Compare},
    {"--dump-security", DumpSecurity},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(std::string_view option) {
  for (const Command& command : kCommands)
    if (command.option == option) return &command;
  return nullptr;
}

RenderRequest RenderRequestOf(const startup::ParsedOptions& options) {
  RenderRequest request;
  request.file = options.Value("--render");
  request.listFile = options.Value("--list-typelibs");
  if (const std::vector<std::string> registered = options.Values("--render-typelib"); registered.size() == 2) {
    request.typeLibGuid = registered[0];
    request.version = registered[1];
  }
  request.drives = options.Every("--drive");
  request.language = options.Value("--language") == "idl" ? RenderLanguage::Idl : RenderLanguage::Pascal;
  return request;
}

}  // namespace brannock::cli
