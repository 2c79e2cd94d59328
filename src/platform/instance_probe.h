// Test instances of a COM class, a host service: COM in this process on
// Windows; elsewhere the instance helper (a small Windows program, see
// src/app/instance_helper/) run through a launcher (`wine` in a prefix),
// which reports on its standard output in one line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"
#include "platform/process.h"

namespace brannock::platform {

// What became of a test instance.
struct InstanceReport {
  enum class Outcome {
    None,            // no instance was obtained (unknown ProgID, creation refused)
    Ok,              // the instance gave its type information
    TypeInfoFailed,  // the instance refused its type information with `code`
  };
  Outcome outcome = Outcome::None;
  uint32_t code = 0;
};

// The instance helper's one line of output: "none", "ok" or
// "typeinfo-failed 0x%08X" (the failure code in upper-case hexadecimal).
std::string FormatInstanceReport(const InstanceReport& report);

// Reads that line from the helper's output: the first line, a trailing
// carriage return and blanks ignored. Anything else is not a report.
std::optional<InstanceReport> ParseInstanceReport(std::string_view output);

// Obtains an instance of the class of `progId` (a running one that gives
// IDispatch first, else a new in-process or local server) and asks it for
// its type information; the instance is released before this returns.
// Windows: through COM in this process; the launcher is not used. POSIX:
// the instance helper run through `launcher`; none without a launcher, a
// helper or a ProgID.
InstanceReport ProbeInstance(TextView progId, const ProcessLauncher& launcher);

// The instance helper run under Wine: $BRANNOCK_INSTANCE_HELPER when set,
// else brannock-instance.exe next to the program, else the installed one in
// ../lib/brannock/ from the program's folder, else the one of the cross
// build; empty when none of them exists (always on Windows, which needs no
// helper).
std::filesystem::path FindInstanceHelper();
// The same for a program in `programDir`.
std::filesystem::path FindInstanceHelperFor(const std::filesystem::path& programDir);

}  // namespace brannock::platform
