#include "platform/instance_probe.h"

#include <cstdio>

#include "common/ascii.h"

namespace brannock::platform {

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
  if (!ParseHex32(hex, &code)) return std::nullopt;
  return InstanceReport{InstanceReport::Outcome::TypeInfoFailed, code};
}

}  // namespace brannock::platform
