#include "ui/logic/object_actions.h"

#include <cstdio>

#include "platform/messages.h"
#include "platform/process.h"

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
  c.environment = {u"WINEPREFIX=" + Utf8ToUtf16(host.winePrefix.string())};
  return c;
}

Text RegistrationParameters(TextView server, bool unregister) {
  Text quoted = u"\"" + Text(server) + u"\"";
  return unregister ? u"/u " + quoted : quoted;
}

std::optional<ToolCommand> RegistrationCommand(const ToolHost& host, TextView server, bool unregister) {
  if (server.empty()) return std::nullopt;
  ToolCommand c;
  switch (host.kind) {
    case ToolHost::Kind::None: return std::nullopt;
    case ToolHost::Kind::Native: break;
    case ToolHost::Kind::Wine: c = WineLaunch(host); break;
  }
  c.executable = u"regsvr32";
  c.parameters = RegistrationParameters(server, unregister);
  return c;
}

bool RunTool(const ToolCommand& command) {
#if defined(_WIN32)
  return platform::RunProcess(command.executable, command.parameters, command.showMode);
#else
  if (command.launcher.empty() && command.environment.empty())
    return platform::RunProcess(command.executable, command.parameters, command.showMode);
  return platform::RunProcess(command.executable, command.parameters, command.showMode,
                              platform::ProcessLauncher{command.launcher, command.environment});
#endif
}

std::optional<Text> InstanceFailureText(const InstanceReport& report) {
  if (report.outcome != InstanceReport::Outcome::TypeInfoFailed) return std::nullopt;
  return platform::ErrorCodeText(report.code);
}

std::string FormatInstanceReport(const InstanceReport& report) {
  switch (report.outcome) {
    case InstanceReport::Outcome::None: return "none";
    case InstanceReport::Outcome::Ok: return "ok";
    case InstanceReport::Outcome::TypeInfoFailed: break;
  }
  char line[32];
  std::snprintf(line, sizeof line, "typeinfo-failed 0x%08X", static_cast<unsigned>(report.code));
  return line;
}

std::optional<InstanceReport> ParseInstanceReport(std::string_view output) {
  std::string_view line = output.substr(0, output.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  if (line == "none") return InstanceReport{};
  if (line == "ok") return InstanceReport{InstanceReport::Outcome::Ok, 0};
  constexpr std::string_view kFailed = "typeinfo-failed 0x";
  if (line.substr(0, kFailed.size()) != kFailed) return std::nullopt;
  const std::string_view hex = line.substr(kFailed.size());
  if (hex.size() != 8) return std::nullopt;
  uint32_t code = 0;
  for (char ch : hex) {
    uint32_t digit;
    if (ch >= '0' && ch <= '9') digit = static_cast<uint32_t>(ch - '0');
    else if (ch >= 'A' && ch <= 'F') digit = static_cast<uint32_t>(ch - 'A' + 10);
    else return std::nullopt;
    code = code << 4 | digit;
  }
  return InstanceReport{InstanceReport::Outcome::TypeInfoFailed, code};
}

}  // namespace brannock::ui
