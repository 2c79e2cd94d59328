#include "ui/logic/object_actions.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "typelib/wow64_paths.h"

namespace brannock::ui {

ToolHost ToolHostFor(registry::RegistrySource::Kind source, const std::filesystem::path& path) {
  using Kind = registry::RegistrySource::Kind;
  switch (source) {
    case Kind::Live: return {ToolHost::Kind::Native, {}};
    case Kind::WinePrefix: return {ToolHost::Kind::Wine, path};
    case Kind::RegFile:
    case Kind::Hive:
    case Kind::Demo: break;
  }
  return {};
}

ToolCommand WineLaunch(const ToolHost& host) {
  ToolCommand c;
  c.launcher = {u"wine"};
  c.environment = {u"WINEPREFIX=" + platform::HostPathText(host.winePrefix)};
  return c;
}

Text RegistrationParameters(TextView server, bool unregister) {
  Text quoted = u"\"" + Text(server) + u"\"";
  return unregister ? u"/u " + quoted : quoted;
}

std::optional<ToolCommand> RegistrationCommand(const ToolHost& host, TextView server, bool unregister,
                                               registry::RegistryView view) {
  if (server.empty()) return std::nullopt;
  ToolCommand c;
  switch (host.kind) {
    case ToolHost::Kind::None: return std::nullopt;
    case ToolHost::Kind::Native: break;
    case ToolHost::Kind::Wine: c = WineLaunch(host); break;
  }
  c.executable = u"regsvr32";
  if (view == registry::RegistryView::Bits32) {
    const Text folder =
        host.kind == ToolHost::Kind::Wine ? Text(typelib::kWow64SystemDir) : platform::Wow64SystemFolder();
    if (!folder.empty()) c.executable = folder + u"\\regsvr32.exe";
  }
  c.parameters = RegistrationParameters(server, unregister);
  return c;
}

bool RunTool(const ToolCommand& command) {
  return platform::RunProcess(command.executable, command.parameters, command.showMode,
                              platform::ProcessLauncher{command.launcher, command.environment});
}

std::optional<Text> InstanceFailureText(const InstanceReport& report) {
  if (report.outcome != InstanceReport::Outcome::TypeInfoFailed) return std::nullopt;
  return platform::ErrorCodeText(report.code);
}

InstanceReport ProbeInstance(const ToolHost& host, TextView progId) {
  switch (host.kind) {
    case ToolHost::Kind::None: break;
    case ToolHost::Kind::Native: return platform::ProbeInstance(progId, {});
    case ToolHost::Kind::Wine: {
      const ToolCommand wine = WineLaunch(host);
      return platform::ProbeInstance(progId, {wine.launcher, wine.environment});
    }
  }
  return {};
}

}  // namespace brannock::ui
