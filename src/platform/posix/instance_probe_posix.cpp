// Test instances on a POSIX desktop: there is no COM here, so the instance
// helper (a small Windows program, see src/app/instance_helper/) is run
// through the launcher (Wine in the source's prefix) and reports on its
// standard output.
#include <cstdlib>
#include <system_error>

#include "platform/files.h"
#include "platform/instance_probe.h"
#include "platform/program_output.h"

namespace brannock::platform {

namespace {

// A server can take its time to start, but a helper that hangs must not
// block the window for good.
constexpr std::chrono::seconds kHelperLimit{120};

bool IsFile(const std::filesystem::path& p) {
  std::error_code ec;
  return !p.empty() && std::filesystem::is_regular_file(p, ec);
}

}  // namespace

std::filesystem::path FindInstanceHelper() { return FindInstanceHelperFor(ExecutableDirectory()); }

std::filesystem::path FindInstanceHelperFor(const std::filesystem::path& programDir) {
  const char* named = std::getenv("BRANNOCK_INSTANCE_HELPER");
  if (named && *named) return IsFile(named) ? std::filesystem::path(named) : std::filesystem::path();
  const std::filesystem::path beside = programDir / "brannock-instance.exe";
  if (IsFile(beside)) return beside;
  // Installed: bin/brannock and lib/brannock/brannock-instance.exe.
  const std::filesystem::path installed =
      (programDir / ".." / "lib" / "brannock" / "brannock-instance.exe").lexically_normal();
  if (IsFile(installed)) return installed;
#if defined(BRANNOCK_CROSS_INSTANCE_HELPER)
  if (IsFile(BRANNOCK_CROSS_INSTANCE_HELPER)) return BRANNOCK_CROSS_INSTANCE_HELPER;
#endif
  return {};
}

InstanceReport ProbeInstance(TextView progId, const ProcessLauncher& launcher) {
  if (launcher.command.empty() || progId.empty()) return {};
  const std::filesystem::path helper = FindInstanceHelper();
  if (helper.empty()) return {};
  TextList argv = launcher.command;
  argv.push_back(HostPathText(helper));
  argv.push_back(Text(progId));
  const std::optional<std::string> output = RunProgramOutput(argv, launcher.environment, kHelperLimit);
  if (!output) return {};
  return ParseInstanceReport(*output).value_or(InstanceReport{});
}

}  // namespace brannock::platform
