// The object commands' logic without a window: where the Windows tools run
// for a registry source, the registration tool's command line, and where a
// test instance is obtained.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "common/text.h"
#include "platform/instance_probe.h"
#include "registry/registry_source.h"

namespace brannock::ui {

// Where the Windows programs of a registry source run: on Windows itself,
// in the Wine prefix that the source is, or nowhere (a .reg export, a hive,
// the demo registry).
struct ToolHost {
  enum class Kind { None, Native, Wine };
  Kind kind = Kind::None;
  std::filesystem::path winePrefix;  // set for Kind::Wine
};

ToolHost ToolHostFor(registry::RegistrySource::Kind source, const std::filesystem::path& path);

// Whether regsvr32 and test instances can run for the source at all.
inline bool RunsTools(const ToolHost& host) { return host.kind != ToolHost::Kind::None; }

// One start of a Windows program: the launcher's words come first (`wine`
// in a prefix, none on Windows), the environment entries (NAME=VALUE) are
// added for it.
struct ToolCommand {
  TextList launcher;
  TextList environment;
  Text executable;
  Text parameters;
  int showMode = 10;  // SW_SHOWDEFAULT
};

// The registration tool's parameters: the server path between double quotes
// for registering, "/u" and a blank before it for unregistering. The server
// text is quoted whole, also when it carries arguments after the path.
Text RegistrationParameters(TextView server, bool unregister);

// regsvr32 with those parameters, run where `host` says; none when the
// server is empty or there is nowhere to run it. For a registration of the
// 32-bit view it is the 32-bit regsvr32 of the 32-bit system folder
// (SysWOW64), which sees system32 in the server's path as a 32-bit program
// does; on 32-bit Windows the system's own.
std::optional<ToolCommand> RegistrationCommand(const ToolHost& host, TextView server, bool unregister,
                                               registry::RegistryView view = registry::RegistryView::Bits64);

// Starts the command and waits for it at most the process wait of
// RunProcess; true when it started. Tests replace it by a ToolRunner.
bool RunTool(const ToolCommand& command);
using ToolRunner = std::function<bool(const ToolCommand&)>;

// What became of a test instance (a host service, see
// platform/instance_probe.h).
using platform::InstanceReport;

// The error box text of a test instance that refused its type information,
// "%s (Error code: 0x%x)"; nothing for the other outcomes. The command
// shows it while "Working..." is still up, with the normal cursor, and sets
// "Ready" once the box is closed (TObjectCommands::cmCreateInst).
std::optional<Text> InstanceFailureText(const InstanceReport& report);

// platform::ProbeInstance where `host` says: through COM on Windows, through
// the instance helper run by `wine` in a Wine prefix; elsewhere none.
InstanceReport ProbeInstance(const ToolHost& host, TextView progId);
using InstanceProbe = std::function<InstanceReport(const ToolHost&, TextView progId)>;

// The launcher words and environment that run a Windows program in the
// host's Wine prefix.
ToolCommand WineLaunch(const ToolHost& host);

}  // namespace brannock::ui
